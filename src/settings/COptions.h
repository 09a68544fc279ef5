#pragma once

#include "settings/OptionsSheet.h"

#include <QDialog>

class QTreeWidget;

namespace orvanta {

class CAccountConfig;
class CApplication;
class CCodec;
class CNetwork;

// The "Settings" sheet: a tree of pages on the left, the chosen page on the
// right. Made anew for each run, so each run reads the files again.
class COptions : public QDialog {
    Q_OBJECT

public:
    explicit COptions(const OptionsSheetServices& services, QWidget* parent = nullptr);

    // Chooses a tree entry, as a click on it does.
    void select(const SheetItem& item);
    std::optional<SheetItem> selectedItem() const;

    QTreeWidget* tree() const { return tree_; }
    CApplication* generalPage() const { return general_; }
    CCodec* codecPage() const { return codec_; }
    CNetwork* networkPage() const { return network_; }
    CAccountConfig* accountPage() const { return accounts_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildTree();
    void showSelectedPage();

    QTreeWidget* tree_ = nullptr;
    CApplication* general_ = nullptr;
    CCodec* codec_ = nullptr;
    CNetwork* network_ = nullptr;
    CAccountConfig* accounts_ = nullptr;
};

}
