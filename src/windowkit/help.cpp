#include "windowkit/help.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace quarnel::ui {

namespace {
HelpSystem* g_current = nullptr;
}

HelpSystem::HelpSystem(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setObjectName("FormAide");
    setWindowFlag(Qt::Window);
    setModal(false);
    browser_->setObjectName("NavigateurAide");
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 520);
    g_current = this;
}

HelpSystem::~HelpSystem() {
    if (g_current == this) g_current = nullptr;
}

HelpSystem* HelpSystem::Current() {
    return g_current;
}

void HelpSystem::SetFile(const std::filesystem::path& helpFile) {
    page_ = helpFile;
    page_.replace_extension(".html");
}

void HelpSystem::ShowContents() {
    ShowContext(0);
}

void HelpSystem::ShowContext(int context) {
    lastContext_ = context;
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(page_.string()));
    if (browser_->source() != url) browser_->setSource(url);
    if (context > 0) {
        browser_->scrollToAnchor(QStringLiteral("h%1").arg(context));
    } else {
        browser_->scrollToAnchor(QStringLiteral("sommaire"));
    }
    setWindowTitle(browser_->documentTitle());
    show();
    raise();
    activateWindow();
}

void ShowHelpContext(int context) {
    if (HelpSystem* help = HelpSystem::Current()) help->ShowContext(context);
}

}  // namespace quarnel::ui
