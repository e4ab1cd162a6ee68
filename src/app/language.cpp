// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/language.h"

#include <QString>
#include <QTranslator>

#include "holder/program_state.h"
#include "holder/startup.h"
#include "resources/texts.h"

namespace quarnel {

int LocaleOfLanguage(int language) {
    return language == 1 ? kLocaleFrench : kLocaleEnglish;
}

std::string LanguageAbbreviation(int locale) {
    return locale == kLocaleFrench ? "FRA" : "ENG";
}

std::optional<std::filesystem::path> FindTextModule(const std::filesystem::path& programFile,
                                                    int locale) {
    const std::string abbreviation = LanguageAbbreviation(locale);
    std::error_code ec;
    for (const std::string& ext : {abbreviation, abbreviation.substr(0, 2)}) {
        std::filesystem::path candidate = programFile;
        candidate.replace_extension(ext);
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
    }
    return std::nullopt;
}

LanguageStep BeginLanguageSwitch(HolderContext& ctx) {
    LanguageStep step;
    step.locale = LocaleOfLanguage(ctx.settings.language);
    step.changed = step.locale != ctx.appliedLocale;
    if (!step.changed) return step;
    // French needs no module: it is the program's own text. (Looking for a
    // French module, as for any other language, would leave a holder who
    // switched to English unable to switch back.)
    if (step.locale == kLocaleFrench) {
        ctx.appliedLocale = step.locale;
    } else {
        step.module = FindTextModule(ctx.programFile, step.locale);
        step.missing = !step.module;
    }
    return step;
}

void FinishLanguageSwitch(HolderContext& ctx, const LanguageStep& step, bool textsChanged) {
    ctx.appliedLocale = step.locale;
    if (textsChanged) state::VersionChanged(ctx);
    ctx.helpFile = HelpFileOf(ctx);
}

bool StoredVersionIsOurs(const HolderContext& ctx) {
    const std::string stored = ctx.settings.versionCode.substr(0, 5);
    if (stored == std::string(FrenchText(txt::kVersionCode)).substr(0, 5)) return true;
    // The other languages' codes are in their text modules (read once).
    static std::filesystem::path read;
    static std::string english;
    const std::optional<std::filesystem::path> module =
        FindTextModule(ctx.programFile, kLocaleEnglish);
    if (!module) return false;
    if (*module != read) {
        QTranslator translator;
        english =
            translator.load(QString::fromStdString(module->string()))
                ? translator.translate(kTextContext, FrenchText(txt::kVersionCode)).toStdString()
                : std::string();
        read = *module;
    }
    return !english.empty() && stored == english.substr(0, 5);
}

}  // namespace quarnel
