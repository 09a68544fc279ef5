#pragma once

#include <QDialog>

class QLabel;

namespace orvanta {

// The about box: the application's name and version, one more line and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* versionLabel() const { return version_; }

private:
    QLabel* version_ = nullptr;
};

}
