#include "app/language.h"

#include "holder/startup.h"

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
    if (textsChanged && ctx.programState == ProgramState::Affiliated)
        ctx.programState = ProgramState::VersionChanged;
    ctx.helpFile = HelpFileOf(ctx);
}

}  // namespace quarnel
