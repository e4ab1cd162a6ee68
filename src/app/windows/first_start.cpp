// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/first_start.h"

#include <QDir>
#include <QTranslator>

#include "app/language.h"
#include "app/texts.h"
#include "crypto/cp1252.h"
#include "holder/program_state.h"
#include "holder/settings.h"
#include "store/folder_lock.h"
#include "windowkit/message_box.h"
#include "windowkit/modal_runner.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

namespace {

QString PathText(const std::filesystem::path& path) {
    return QDir::toNativeSeparators(QString::fromStdString(path.string()));
}

std::optional<std::filesystem::path> FirstParameterFile(const HolderContext& ctx) {
    for (const std::filesystem::path& folder : TaParameterFolders(ctx)) {
        if (auto file = FindTaParameterFile(folder)) return file;
    }
    return std::nullopt;
}

}  // namespace

void ReportTaParameterProblem(const HolderContext& ctx, QWidget* parent) {
    const auto file = FirstParameterFile(ctx);
    (void)Ask(parent, BoxIcon::Warning,
              file ? Tr(txt::kParametersInvalid, {PathText(*file)})
                   : Tr(txt::kParametersNotFound, {PathText(ctx.dataFolder)}),
              kOk);
}

bool EnsureTaParameterFile(HolderContext& ctx, QWidget* parent) {
    if (IsAffiliatedState(ctx.State())) return true;
    if (const auto file = FirstParameterFile(ctx)) {
        TaParameters ta;
        // A damaged file is the holder's to replace: it is reported, not
        // overwritten, and the options stay closed until then.
        if (!ReadTaParameterCandidate(*file, ta)) ReportTaParameterProblem(ctx, parent);
        return true;
    }

    Inform(parent, Tr(txt::kParametersWanted, {PathText(ctx.dataFolder)}));
    for (int attempt = 0; attempt < kMaxParameterFileTries; ++attempt) {
        const QStringList chosen =
            ChooseFilesToOpen(parent, Tr(txt::kChooseParameters), QDir::homePath(),
                              Tr(txt::kParametersFilter), false);
        if (chosen.isEmpty()) break;
        const std::filesystem::path file = chosen.front().toStdString();
        TaParameters ta;
        if (!ReadTaParameterCandidate(file, ta)) {
            (void)Ask(parent, BoxIcon::Warning, Tr(txt::kParametersInvalid, {PathText(file)}), kOk);
            continue;
        }
        std::string why;
        if (!InstallTaParameterFile(ctx, file, &why)) {
            (void)Ask(parent, BoxIcon::Warning,
                      Tr(txt::kParametersNotCopied,
                         {PathText(file), PathText(ctx.dataFolder), QString::fromStdString(why)}),
                      kOk);
            continue;
        }
        return true;
    }
    (void)Ask(parent, BoxIcon::Critical, Tr(txt::kParametersAbsent), kOk);
    return false;
}

QString InBothLanguages(const std::filesystem::path& programFile, int id,
                        std::initializer_list<QString> args) {
    std::vector<std::string> utf8;
    for (const QString& a : args)
        utf8.push_back(a.toStdString());
    const std::vector<std::string_view> views(utf8.begin(), utf8.end());
    const auto fill = [&](const QString& text) {
        return QString::fromStdString(FillPlaceholders(text.toStdString(), views));
    };
    const QString french = fill(QString::fromUtf8(FrenchText(id)));
    QTranslator english;
    const auto module = FindTextModule(programFile, kLocaleEnglish);
    if (!module || !english.load(QString::fromStdString(module->string()))) return french;
    const QString translated = english.translate(kTextContext, FrenchText(id));
    return translated.isEmpty() ? french : french + QStringLiteral("\n\n") + fill(translated);
}

std::unique_ptr<DataFolderLock> ClaimDataFolder(const std::filesystem::path& programFile,
                                                const std::filesystem::path& dataFolder,
                                                QWidget* parent) {
    const QString where = PathText(dataFolder);
    if (const std::string outside = DistinctOutsideCp1252(dataFolder.string()); !outside.empty()) {
        (void)Ask(parent, BoxIcon::Critical,
                  InBothLanguages(programFile, txt::kDataFolderRefused,
                                  {where, QString::fromStdString(outside)}),
                  kOk);
        return nullptr;
    }
    auto lock = std::make_unique<DataFolderLock>(dataFolder);
    std::string why;
    switch (lock->Take(&why)) {
        case DataFolderLock::Result::Taken:
            return lock;
        case DataFolderLock::Result::Held:
            (void)Ask(parent, BoxIcon::Critical,
                      InBothLanguages(programFile, txt::kAlreadyOpen,
                                      {where, QString::fromStdString(lock->otherProcess()),
                                       QString::fromStdString(lock->otherHost())}),
                      kOk);
            return nullptr;
        case DataFolderLock::Result::Failed:
            break;
    }
    (void)Ask(
        parent, BoxIcon::Critical,
        InBothLanguages(programFile, txt::kLockImpossible, {where, QString::fromStdString(why)}),
        kOk);
    return nullptr;
}

}  // namespace quarnel::ui
