#include "mail/windows/form_pop3.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "crypto/cp1252.h"
#include "crypto/own_keys.h"
#include "crypto/secret.h"
#include "holder/program_state.h"
#include "mail/mail_state.h"
#include "mail/mime_parse.h"
#include "mail/pop3_client.h"
#include "mail/pop3_texts.h"
#include "mail/windows/texts.h"
#include "messages/decryption.h"
#include "messages/encryption.h"
#include "protocol/body.h"
#include "protocol/kinds.h"
#include "store/atomic_file.h"
#include "store/record_list.h"
#include "windowkit/help.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"
#include "windowkit/texts.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

Lines SplitMailLines(std::string_view text) {
    Lines lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::string ToCodePage(const std::string& utf8) {
    std::string out;
    if (Utf8ToCp1252(utf8, out)) return out;
    return utf8;
}

std::string ReceivedAt() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return ToCp1252(locale.toString(now.date(), QLocale::ShortFormat) + ' ' +
                    locale.toString(now.time(), QLocale::LongFormat));
}

std::filesystem::path ReceivedFolder(const HolderContext& ctx) {
    return PathFromSetting(ctx.settings.receivedEncryptedFolder);
}

}  // namespace

FormPop3::FormPop3(HolderContext& ctx, MailState& mail, QWidget* parent)
    : QuarnelDialog(ctx, "FormPop3", kHelpReceiving, parent), mail_(mail) {
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    labelAction_ = Named(new QLabel(this), "LabelAction");
    memoAction_ = Named(new QPlainTextEdit(this), "MemoAction");
    memoAction_->setReadOnly(true);
    memoAction_->document()->setDocumentMargin(2);
    memoAction_->setStyleSheet(
        QStringLiteral("QPlainTextEdit { padding-left: 2px; padding-right: 2px; }"));
    memoAction_->setMinimumSize(
        memoAction_->fontMetrics().horizontalAdvance(QString(60, QChar('x'))),
        memoAction_->fontMetrics().lineSpacing() * 14);
    outer->addWidget(labelAction_);
    outer->addWidget(memoAction_, 1);
    auto* buttons = new QHBoxLayout;
    retirer_ = Named(new QPushButton(this), "BitBtnRetirer");
    dechiffrer_ = Named(new QPushButton(this), "BitBtnDechiffrer");
    annuler_ = Named(new QPushButton(this), "BitBtnAnnuler");
    aide_ = Named(new QPushButton(this), "BitBtnAide");
    buttons->addStretch();
    for (QPushButton* b : {retirer_, dechiffrer_, annuler_, aide_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    dechiffrer_->setDefault(true);
    outer->addLayout(buttons);
    connect(retirer_, &QPushButton::clicked, this, &FormPop3::RetirerClick);
    connect(dechiffrer_, &QPushButton::clicked, this, &FormPop3::DechiffrerClick);
    connect(annuler_, &QPushButton::clicked, this, &FormPop3::AnnulerClick);
    connect(aide_, &QPushButton::clicked, this, &QuarnelDialog::ShowHelp);
    Retranslate();
}

FormPop3::~FormPop3() = default;

void FormPop3::Retranslate() {
    setWindowTitle(Tr(txt::kPop3Caption));
    labelAction_->setText(Tr(txt::kActionLabel));
    retirer_->setText(Tr(txt::kRetirer));
    dechiffrer_->setText(Tr(txt::kDechiffrer));
    annuler_->setText(Tr(txt::kAnnuler));
    aide_->setText(Tr(txt::kAide));
    SetButtons(retirer_->isEnabled(), dechiffrer_->isEnabled(), annuler_->isEnabled());
}

bool FormPop3::Receiving() const {
    return client_ != nullptr;
}

void FormPop3::ShowReceiving(const QWidget& mainWindow) {
    PlaceDialog(*this, mainWindow);
    memoAction_->clear();
    SetButtons(true, false, true);
    (void)RunModal(*this);
    SetInformation(ctx_, txt::kEnAttente);
}

void FormPop3::Log(const QString& line) {
    memoAction_->appendPlainText(line);
}

void FormPop3::LogText(int textId, const QString& detail) {
    const QString pattern = Tr(textId);
    if (pattern.contains(QLatin1String("%d")) || pattern.contains(QLatin1String("%s"))) {
        QString filled = pattern;
        filled.replace(QLatin1String("%d"), detail).replace(QLatin1String("%s"), detail);
        Log(filled);
    } else {
        Log(detail.isEmpty() ? pattern : pattern + QStringLiteral(" : ") + detail);
    }
}

void FormPop3::SetButtons(bool retirer, bool dechiffrer, bool annuler) {
    retirer_->setEnabled(retirer);
    dechiffrer_->setEnabled(dechiffrer);
    annuler_->setEnabled(annuler);
    retirer_->setToolTip(retirer ? QString() : Tr(txt::kTipRetirerOff));
    dechiffrer_->setToolTip(dechiffrer ? QString() : Tr(txt::kTipDechiffrerOff));
    annuler_->setToolTip(annuler ? QString() : Tr(txt::kTipAnnulerOff));
}

void FormPop3::RetirerClick() {
    if (Receiving()) return;
    if (ctx_.settings.pop3Server.empty()) {
        (void)Ask(this, BoxIcon::Warning, Tr(txt::kPop3NoServer), kOk);
        return;
    }
    SetButtons(false, false, false);
    LogText(txt::kPop3Call);
    SetInformation(ctx_, txt::kTransmission);
    std::string password;
    if (!ReadMailPassword(ctx_.keyStore, ctx_.ownDigit, password)) {
        // Nothing to log in with: said, and the window usable again.
        LogText(txt::kPop3NoPassword);
        (void)Ask(this, BoxIcon::Warning, Tr(txt::kPop3NoPasswordHint), kOk);
        SetButtons(true, !waiting_.empty(), true);
        return;
    }
    Pop3Job job;
    job.server = FromCp1252(ctx_.settings.pop3Server);
    job.user = ctx_.settings.accountName;
    job.password = SecretString(std::move(password));
    count_ = 0;
    current_ = 0;
    connected_ = false;
    ending_ = false;
    logToWrite_ = false;
    client_ = std::make_unique<Pop3Client>(nullptr, limits_);
    Pop3Client& c = *client_;
    connect(&c, &Pop3Client::logged, this, [this](int id, const QString& d) { LogText(id, d); });
    connect(&c, &Pop3Client::error, this, [this](const QString&) {
        // The client has logged the reason; a refused command while sorting
        // stops the sorting, keeping what was accepted.
        if (!connected_ || ending_) return;
        LogText(txt::kPop3TransferFailed);
        QTimer::singleShot(0, this, [this] {
            if (client_ && client_->ready()) EndRetrieval();
        });
    });
    connect(&c, &Pop3Client::statReady, this, [this](int count, qint64) { OnStat(count); });
    connect(&c, &Pop3Client::topReady, this, &FormPop3::OnTop);
    connect(&c, &Pop3Client::retrieved, this, &FormPop3::OnRetrieved);
    connect(&c, &Pop3Client::tooLarge, this, [this](int, qint64) { Next(); });
    connect(&c, &Pop3Client::deleted, this, [this](int) { Next(); });
    connect(&c, &Pop3Client::finished, this, &FormPop3::OnFinished, Qt::QueuedConnection);
    c.Start(job);
}

void FormPop3::OnStat(int count) {
    connected_ = true;
    count_ = count;
    if (count == 0) {
        LogText(txt::kPop3NoMessage);
        EndRetrieval();
        return;
    }
    LogText(count == 1 ? txt::kPop3OneMessage : txt::kPop3Messages, QString::number(count));
    current_ = 0;
    Next();
}

void FormPop3::Command(std::function<void()> command) {
    // The client's signals come from inside its reply handling: the next
    // command goes once it is ready again.
    QTimer::singleShot(0, this, [this, command = std::move(command)] {
        if (client_ && client_->ready()) command();
    });
}

void FormPop3::Next() {
    if (!client_ || ending_) return;
    if (++current_ > count_) {
        EndRetrieval();
        return;
    }
    Command([this, n = current_] { client_->Top(n); });
}

void FormPop3::OnTop(int n, const std::string& headers) {
    ParsedMail parsed;
    if (!ParseMailHeaders(headers, parsed)) {
        LogText(txt::kPop3Unparsable, QString::number(n));
        Next();
        return;
    }
    const std::vector<std::string> mailers = parsed.Values("X-Mailer");
    if (!mailers.empty() && mailers.front() == "QuarnelSys") {
        Command([this, n] { client_->Retrieve(n); });
        return;
    }
    LogText(txt::kPop3PlainRejected, QString::number(n));
    LogText(txt::kPop3From, QString::fromStdString(parsed.FromName()));
    LogText(txt::kPop3Subject, QString::fromStdString(parsed.Subject()));
    Next();
}

void FormPop3::OnRetrieved(int n, const std::string& message) {
    ParsedMail parsed;
    bool accepted = false;
    if (!ParseMail(message, parsed))
        LogText(txt::kPop3Unparsable, QString::number(n));
    else
        accepted = Accept(n, parsed);
    if (accepted) {
        LogText(txt::kPop3From, QString::fromStdString(parsed.FromName()));
        LogText(txt::kPop3Subject, QString::fromStdString(parsed.Subject()));
        // Only a message kept here is deleted from the server.
        Command([this, n] { client_->Delete(n); });
        return;
    }
    Next();
}

bool FormPop3::Accept(int n, const ParsedMail& parsed) {
    Lines text = SplitMailLines(parsed.lastTextPart);
    std::size_t first = 0;
    while (first < text.size() && WithoutTrailingBlanks(text[first]) != kSeparatorLine)
        ++first;
    text.erase(text.begin(), text.begin() + std::ptrdiff_t(first));
    // A relay's footer after the end marker goes.
    while (!text.empty() && !IsEndMarkerLine(text.back()))
        text.pop_back();
    if (text.size() < 3 || parsed.attachments.size() > kMaxAttachmentNames) {
        LogText(txt::kPop3Malformed, QString::number(n));
        return false;
    }
    const std::string routing = WithoutTrailingBlanks(text[1]);
    AddressFields address;
    const bool parsedAddress = ParseAddressLine(routing, address);
    if (!parsedAddress || !address.kind || !IsMessageKind(*address.kind) ||
        address.recipientNumber != ctx_.ownNumber) {
        LogText(txt::kPop3OtherRejected, QString::number(n));
        LogText(txt::kPop3ForAffiliate,
                FromCp1252(routing.size() >= 21 ? routing.substr(10, 11) : routing));
        return false;
    }
    // The attachments, under names of our own choosing when theirs are unsafe
    // or taken: a received file never replaces one already there.
    const std::filesystem::path folder = ReceivedFolder(ctx_);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::vector<std::filesystem::path> written;
    Lines names;
    for (const MailAttachment& a : parsed.attachments) {
        const std::string wanted = ToCodePage(a.fileName);
        std::optional<std::string> safe = SafeAttachmentName(wanted);
        if (!safe) {
            LogText(txt::kPop3BadAttachmentName, FromCp1252(wanted));
            safe = "fichier";
        }
        const std::optional<std::filesystem::path> path = FreeFileName(folder, *safe, written);
        if (!path || !WriteFileAtomically(*path, a.content)) {
            LogText(txt::kPop3AttachmentFailed, FromCp1252(*safe));
            for (const auto& p : written)
                std::filesystem::remove(p, ec);
            return false;
        }
        written.push_back(*path);
        names.push_back(path->filename().string());
    }
    text.insert(text.end(), names.begin(), names.end());
    const std::string subject = ToCodePage(parsed.Subject());
    Lines entry{subject};
    entry.insert(entry.end(), text.begin(), text.end());
    waiting_.push_back(std::move(entry));
    LogText(txt::kPop3Accepted, QString::number(n));
    Record record{ReceivedAt(),
                  ToCodePage(FillPlaceholders(FrenchText(txt::kPop3LogFrom), {parsed.FromName()})),
                  "objet : " + subject};
    record.insert(record.end(), text.begin(), text.end());
    mail_.receivedLog.push_back(std::move(record));
    logToWrite_ = true;
    return true;
}

void FormPop3::EndRetrieval() {
    if (ending_) return;
    ending_ = true;
    // The log and the files are on disk before QUIT makes the deletions real.
    if (logToWrite_)
        (void)SaveRecordList(mail_.receivedLog, ReceivedFolder(ctx_) / "MsgChifE.dat",
                             ctx_.onSaveFailure);
    logToWrite_ = false;
    Command([this] { client_->Quit(); });
}

void FormPop3::OnFinished(bool ok) {
    client_.reset();
    if (logToWrite_) {
        // Stopped by a failure: what was accepted is kept and logged, but
        // nothing was deleted from the server (no QUIT).
        (void)SaveRecordList(mail_.receivedLog, ReceivedFolder(ctx_) / "MsgChifE.dat",
                             ctx_.onSaveFailure);
        logToWrite_ = false;
    }
    const bool early = !ok || current_ <= count_;
    SetButtons(!connected_ || early, !waiting_.empty(), waiting_.empty() || !connected_);
    if (!waiting_.empty()) dechiffrer_->setFocus();
}

void FormPop3::DechiffrerClick() {
    if (waiting_.empty() || Receiving()) return;
    Lines entry = std::move(waiting_.front());
    waiting_.pop_front();
    const QString subject = FromCp1252(entry.front());
    Lines text(entry.begin() + 1, entry.end());
    LogText(txt::kPop3Decrypting);
    const bool ok = decrypt && decrypt(text, subject);
    LogText(ok ? txt::kPop3Decrypted : txt::kPop3Altered);
    if (waiting_.empty()) SetButtons(retirer_->isEnabled(), false, true);
}

void FormPop3::AnnulerClick() {
    if (Receiving()) return;
    done(QDialog::Rejected);
}

void FormPop3::reject() {
    AnnulerClick();
}

}  // namespace quarnel::ui
