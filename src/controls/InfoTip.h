#pragma once

#include <QColor>
#include <QFrame>
#include <QTimer>
#include <chrono>

class QLabel;

namespace orvanta {

// A tooltip with a title line and a body shown exactly as given (line breaks
// and runs of spaces kept), on a background of its own, hidden after a time.
class InfoTip : public QFrame {
    Q_OBJECT

public:
    struct Style {
        QColor background;
        int maxWidth = 200;
        std::chrono::milliseconds duration{3000};
        bool informationIcon = false;  // before the title
    };

    explicit InfoTip(const Style& style, QWidget* parent = nullptr);

    void showAt(const QPoint& globalPosition, const QString& title, const QString& body);
    void hideTip();

    QString title() const;
    QString body() const;
    const Style& style() const { return style_; }

private:
    Style style_;
    QLabel* icon_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* body_ = nullptr;
    QTimer hideTimer_;
};

}
