#include "mainwnd/CAboutDlg.h"

#include "orvanta/Version.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanta {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Orvanta"));
    auto* layout = new QVBoxLayout(this);
    version_ = new QLabel(QStringLiteral(ORVANTA_PRODUCT_VERSION), this);
    QFont bold = version_->font();
    bold.setBold(true);
    version_->setFont(bold);
    layout->addWidget(version_);
    layout->addWidget(
        new QLabel(QStringLiteral("Softphone for the prepaid calling service"), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}
