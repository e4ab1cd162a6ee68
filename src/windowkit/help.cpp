// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowkit/help.h"

#include <QApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "windowkit/window_kit.h"

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
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
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
    FollowModal();
    raise();
    activateWindow();
}

void HelpSystem::showEvent(QShowEvent* event) {
    FitToScreen(*this);
    QDialog::showEvent(event);
}

void HelpSystem::FollowModal() {
    QWindow* own = windowHandle();
    if (!own || !isVisible()) return;
    // A modal dialog blocks every window but those it is a transient parent
    // of: the help becomes one for as long as the dialog is shown.
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* above = modal && modal != this ? modal : parentWidget();
    QWindow* aboveWindow = above ? above->window()->windowHandle() : nullptr;
    if (own->transientParent() != aboveWindow) own->setTransientParent(aboveWindow);
}

void ShowHelpContext(int context) {
    if (HelpSystem* help = HelpSystem::Current()) help->ShowContext(context);
}

}  // namespace quarnel::ui
