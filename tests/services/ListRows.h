#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <vector>

namespace orvanta::test {

// Each line of a list window, its cells joined by '|'.
inline std::vector<QString> rowTexts(const QTreeWidget* list)
{
    std::vector<QString> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int column = 0; column < list->columnCount(); ++column) {
            cells << list->topLevelItem(i)->text(column);
        }
        rows.push_back(cells.join('|'));
    }
    return rows;
}

}
