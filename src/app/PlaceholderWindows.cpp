#include "app/PlaceholderWindows.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

namespace orvanta {

namespace {

const QString kNotYet = QStringLiteral("Signing in is not available in this build yet.");

void showNotice(const QString& title)
{
    QDialog dialog;
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(kNotYet, &dialog));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}

class PlaceholderMainWindow : public MainWindowPort {
public:
    bool loadEngineLibrary() override
    {
        if (engine_.load(engineLibraryPath())) {
            return true;
        }
        QMessageBox::critical(nullptr, QStringLiteral("Orvanta"),
                              QStringLiteral("Unable to Load DLL"));
        return false;
    }
    void takeAutoSignIn(const SignInRecord&) override {}
    void takeSignIn(const SignInOutcome&) override {}
    void runModal() override { showNotice(QStringLiteral("Orvanta")); }

private:
    EngineLibrary engine_;
};

class PlaceholderSignIn : public SignInDialogPort {
public:
    void prefill(std::int32_t, const QString&, const QString&) override {}
    bool runModal() override
    {
        showNotice(QStringLiteral("Login"));
        return false;
    }
    SignInOutcome outcome() const override { return {}; }
};

}

std::filesystem::path engineLibraryPath()
{
    return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) /
           EngineLibrary::kFileName;
}

std::unique_ptr<MainWindowPort> PlaceholderWindows::createMainWindow()
{
    return std::make_unique<PlaceholderMainWindow>();
}

std::unique_ptr<SignInDialogPort> PlaceholderWindows::createSignInDialog(MainWindowPort&)
{
    return std::make_unique<PlaceholderSignIn>();
}

}
