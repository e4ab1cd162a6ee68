#include "app/windows/first_start.h"

#include <QDir>

#include "app/texts.h"
#include "holder/settings.h"
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
              file ? Tr(txt::kParametresInvalides, {PathText(*file)})
                   : Tr(txt::kParametresIntrouvables, {PathText(ctx.dataFolder)}),
              kOk);
}

bool EnsureTaParameterFile(HolderContext& ctx, QWidget* parent) {
    if (const auto file = FirstParameterFile(ctx)) {
        TaParameters ta;
        // A damaged file is the holder's to replace: it is reported, not
        // overwritten, and the options stay closed until then.
        if (!ReadTaParameterCandidate(*file, ta)) ReportTaParameterProblem(ctx, parent);
        return true;
    }

    Inform(parent, Tr(txt::kParametresDemandes, {PathText(ctx.dataFolder)}));
    for (int attempt = 0; attempt < kMaxParameterFileTries; ++attempt) {
        const QStringList chosen =
            ChooseFilesToOpen(parent, Tr(txt::kChoisirParametres), QDir::homePath(),
                              Tr(txt::kFiltreParametres), false);
        if (chosen.isEmpty()) break;
        const std::filesystem::path file = chosen.front().toStdString();
        TaParameters ta;
        if (!ReadTaParameterCandidate(file, ta)) {
            (void)Ask(parent, BoxIcon::Warning, Tr(txt::kParametresInvalides, {PathText(file)}),
                      kOk);
            continue;
        }
        std::string why;
        if (!InstallTaParameterFile(ctx, file, &why)) {
            (void)Ask(parent, BoxIcon::Warning,
                      Tr(txt::kParametresNonCopies,
                         {PathText(file), PathText(ctx.dataFolder), QString::fromStdString(why)}),
                      kOk);
            continue;
        }
        return true;
    }
    (void)Ask(parent, BoxIcon::Critical, Tr(txt::kParametresAbsents), kOk);
    return false;
}

}  // namespace quarnel::ui
