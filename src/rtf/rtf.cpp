// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "crypto/cp1252.h"

namespace quarnel {
namespace {

constexpr int kDefaultHalfPoints = 24;  // RTF's size when a text sets none
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;  // 1638 points, the largest size writers offer

// Characters a paragraph of the document never holds in its text: controls
// other than the tab, and the marks the document itself uses for paragraph
// and frame breaks and embedded objects.
bool Dropped(char16_t c) {
    return (c < 0x20 && c != '\t') || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC;
}

// The text as the document may hold it: dropped characters left out, a
// surrogate without its partner as U+FFFD.
QString Clean(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (Dropped(c)) continue;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            out.append(text.at(i));
            out.append(text.at(++i));
        } else if (QChar::isSurrogate(c)) {
            out.append(QChar(QChar::ReplacementCharacter));
        } else {
            out.append(QChar(c));
        }
    }
    return out;
}

// A font name as the font table can hold it: no tab or line break, no
// blanks around it, at most kMaxRtfFontNameLength units.
QString FontName(const QString& name) {
    QString n = Clean(name);
    n.remove(QChar(u'\t'));
    n.remove(QChar(0x2028));
    return Clean(n.trimmed().left(kMaxRtfFontNameLength));
}

// ---------------------------------------------------------------- reading

enum class Word : std::uint8_t {
    Unknown,
    // character
    F,
    Fs,
    B,
    I,
    Ul,
    UlNone,
    Plain,
    Cf,
    // paragraph
    Pard,
    Ql,
    Qc,
    Qr,
    Qj,
    Ls,
    // document and characters
    Deff,
    Uc,
    U,
    Bin,
    Par,
    Line,
    Tab,
    Cell,
    Char,
    // destinations read
    FontTable,
    ColourTable,
    Pn,
    ListTable,
    ListOverrideTable,
    // destinations skipped
    SkipDest,
    // tables
    Red,
    Green,
    Blue,
    List,
    ListLevel,
    LevelNfc,
    ListId,
    ListOverride,
    // old-style bullets
    PnBullet,
    PnBody,
    PnDec,
    PnUcRoman,
    PnLcRoman,
    PnUcLetter,
    PnLcLetter,
};

struct WordInfo {
    Word word;
    char16_t ch = 0;  // the character of Word::Char
};

const std::unordered_map<std::string_view, WordInfo>& Words() {
    static const std::unordered_map<std::string_view, WordInfo> words = [] {
        std::unordered_map<std::string_view, WordInfo> w = {
            {"f", {Word::F}},
            {"fs", {Word::Fs}},
            {"b", {Word::B}},
            {"i", {Word::I}},
            {"ul", {Word::Ul}},
            {"ulnone", {Word::UlNone}},
            {"plain", {Word::Plain}},
            {"cf", {Word::Cf}},
            {"pard", {Word::Pard}},
            {"ql", {Word::Ql}},
            {"qc", {Word::Qc}},
            {"qr", {Word::Qr}},
            {"qj", {Word::Qj}},
            {"qd", {Word::Qj}},
            {"ls", {Word::Ls}},
            {"deff", {Word::Deff}},
            {"uc", {Word::Uc}},
            {"u", {Word::U}},
            {"bin", {Word::Bin}},
            {"par", {Word::Par}},
            {"sect", {Word::Par}},
            {"page", {Word::Par}},
            {"row", {Word::Par}},
            {"nestrow", {Word::Par}},
            {"line", {Word::Line}},
            {"tab", {Word::Tab}},
            {"cell", {Word::Cell}},
            {"nestcell", {Word::Cell}},
            {"emdash", {Word::Char, 0x2014}},
            {"endash", {Word::Char, 0x2013}},
            {"bullet", {Word::Char, 0x2022}},
            {"lquote", {Word::Char, 0x2018}},
            {"rquote", {Word::Char, 0x2019}},
            {"ldblquote", {Word::Char, 0x201C}},
            {"rdblquote", {Word::Char, 0x201D}},
            {"emspace", {Word::Char, 0x2003}},
            {"enspace", {Word::Char, 0x2002}},
            {"qmspace", {Word::Char, 0x2005}},
            {"fonttbl", {Word::FontTable}},
            {"colortbl", {Word::ColourTable}},
            {"pn", {Word::Pn}},
            {"listtable", {Word::ListTable}},
            {"listoverridetable", {Word::ListOverrideTable}},
            {"red", {Word::Red}},
            {"green", {Word::Green}},
            {"blue", {Word::Blue}},
            {"list", {Word::List}},
            {"listlevel", {Word::ListLevel}},
            {"levelnfc", {Word::LevelNfc}},
            {"levelnfcn", {Word::LevelNfc}},
            {"listid", {Word::ListId}},
            {"listoverride", {Word::ListOverride}},
            {"pnlvlblt", {Word::PnBullet}},
            {"pnlvlbody", {Word::PnBody}},
            {"pnlvl", {Word::PnBody}},
            {"pndec", {Word::PnDec}},
            {"pnucrm", {Word::PnUcRoman}},
            {"pnlcrm", {Word::PnLcRoman}},
            {"pnucltr", {Word::PnUcLetter}},
            {"pnlcltr", {Word::PnLcLetter}},
        };
        for (const char* u :
             {"uld", "uldb", "uldash", "uldashd", "uldashdd", "ulhwave", "ulldash", "ulth", "ulthd",
              "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            w.emplace(u, WordInfo{Word::Ul});
        // Destinations whose content is not text of the document.
        for (const char* d : {"stylesheet",   "info",       "pict",         "object",
                              "objdata",      "objclass",   "objname",      "header",
                              "headerl",      "headerr",    "headerf",      "footer",
                              "footerl",      "footerr",    "footerf",      "footnote",
                              "annotation",   "atnid",      "atnauthor",    "atndate",
                              "atnref",       "xe",         "tc",           "txe",
                              "fldinst",      "pntext",     "pntxta",       "pntxtb",
                              "listtext",     "leveltext",  "levelnumbers", "listname",
                              "revtbl",       "filetbl",    "rsidtbl",      "author",
                              "operator",     "title",      "subject",      "keywords",
                              "comment",      "doccomm",    "company",      "category",
                              "manager",      "hlinkbase",  "creatim",      "revtim",
                              "printim",      "buptim",     "falt",         "panose",
                              "fname",        "nonshppict", "shp",          "shpinst",
                              "sp",           "sn",         "sv",           "bkmkstart",
                              "bkmkend",      "template",   "themedata",    "colorschememapping",
                              "latentstyles", "datastore",  "xmlnstbl",     "generator",
                              "pgdsctbl",     "userprops",  "background",   "fchars",
                              "lchars"})
            w.emplace(d, WordInfo{Word::SkipDest});
        return w;
    }();
    return words;
}

enum class Dest : std::uint8_t { Text, Skip, FontTable, ColourTable, Pn, ListTable, Overrides };

struct CharState {
    int font = 0;
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = 0;
    bool operator==(const CharState&) const = default;
};

struct Group {
    CharState ch;
    int uc = 1;
    Dest dest = Dest::Text;
};

// Paragraph properties are not restored at the end of a group: writers set
// them outside groups, and the old-style bullet sets them from inside one.
struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    QTextListFormat::Style list = QTextListFormat::ListStyleUndefined;
    int ls = 0;
};

struct TextRun {
    CharState ch;
    QString text;
};

struct ReadParagraph {
    Qt::Alignment alignment;
    QTextListFormat::Style list;
    CharState blockChar;  // what an empty paragraph shows
    std::vector<TextRun> runs;
};

struct ListDef {
    long long id = 0;
    int nfc = 23;  // bullet
};

struct Override {
    long long id = 0;
    int ls = 0;
};

QTextListFormat::Style StyleOfNfc(int nfc) {
    switch (nfc) {
        case 0:
            return QTextListFormat::ListDecimal;
        case 1:
            return QTextListFormat::ListUpperRoman;
        case 2:
            return QTextListFormat::ListLowerRoman;
        case 3:
            return QTextListFormat::ListUpperAlpha;
        case 4:
            return QTextListFormat::ListLowerAlpha;
        default:
            return QTextListFormat::ListDisc;
    }
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One pass over the bytes with an explicit stack of groups: time linear in
// the input whatever its nesting, and no recursion to exhaust.
class Reader {
  public:
    explicit Reader(std::string_view in) : in_(in) {}

    [[nodiscard]] bool Read(RtfError* error) {
        const bool ok = Parse();
        if (!ok && error != nullptr) *error = error_;
        return ok;
    }

  private:
    bool Fail(std::size_t offset, std::string reason) {
        error_ = {offset, std::move(reason)};
        return false;
    }

    bool Parse() {
        if (in_.size() > kMaxRtfBytes)
            return Fail(kMaxRtfBytes, "larger than " + std::to_string(kMaxRtfBytes) + " bytes");
        if (in_.substr(0, 5) != "{\\rtf") return Fail(0, "not RTF: it does not start with {\\rtf");
        stack_.reserve(64);
        while (pos_ < in_.size()) {
            const char c = in_[pos_];
            if (c == '{') {
                if (int(stack_.size()) >= kMaxRtfDepth)
                    return Fail(pos_, "groups nested deeper than " + std::to_string(kMaxRtfDepth));
                stack_.push_back(cur_);
                skip_ = 0;
                star_ = false;
                ++pos_;
            } else if (c == '}') {
                if (cur_.dest == Dest::FontTable && !fontName_.isEmpty() && !CommitFont())
                    return false;
                cur_ = stack_.back();
                stack_.pop_back();
                skip_ = 0;
                star_ = false;
                ++pos_;
                if (stack_.empty()) break;  // what follows the document is not read
            } else if (c == '\\') {
                if (!Control()) return false;
            } else if (c == '\r' || c == '\n') {
                ++pos_;
            } else {
                ++pos_;
                if (!Byte(static_cast<unsigned char>(c))) return false;
            }
        }
        // A writer that forgets the last brace loses nothing; a file cut
        // inside an inner group is truncated.
        if (stack_.size() > 1) return Fail(in_.size(), "ends inside an open group (truncated)");
        return FinishParagraph(/*atEnd=*/true);
    }

    // A byte of text outside control words.
    bool Byte(unsigned char b) {
        if (b == '\t') return Char(u'\t');
        if (b < 0x20) return true;
        if (skip_ > 0) {
            --skip_;
            return true;
        }
        if (b == ';') {
            if (cur_.dest == Dest::FontTable) return CommitFont();
            if (cur_.dest == Dest::ColourTable) return CommitColour();
        }
        return Char(char16_t(Cp1252CodePoint(b)), /*counted=*/true);
    }

    // A character of text; `counted` when the \uc fallback count was already
    // taken care of.
    bool Char(char16_t c, bool counted = false) {
        star_ = false;
        if (!counted && skip_ > 0) {
            --skip_;
            return true;
        }
        if (cur_.dest == Dest::Text) {
            if (runs_.empty() || !(runs_.back().ch == cur_.ch)) {
                if (++runCount_ > kMaxRtfRuns)
                    return Fail(pos_, "more than " + std::to_string(kMaxRtfRuns) +
                                          " differently formatted pieces of text");
                runs_.push_back({cur_.ch, {}});
            }
            runs_.back().text.append(QChar(c));
        } else if (cur_.dest == Dest::FontTable) {
            if (fontName_.size() >= kMaxRtfFontNameLength)
                return Fail(pos_, "font name longer than " + std::to_string(kMaxRtfFontNameLength) +
                                      " characters");
            fontName_.append(QChar(c));
        }
        return true;
    }

    bool Control() {
        const std::size_t start = pos_++;
        if (pos_ >= in_.size()) return Fail(start, "backslash at the end");
        const char c = in_[pos_];
        if (IsLetter(c)) return ControlWord(start);
        ++pos_;
        switch (c) {
            case '\'': {
                if (pos_ + 2 > in_.size()) return Fail(start, "truncated \\' escape");
                const int hi = HexValue(in_[pos_]);
                const int lo = HexValue(in_[pos_ + 1]);
                if (hi < 0 || lo < 0) return Fail(start, "\\' not followed by two hex digits");
                pos_ += 2;
                if (skip_ > 0) {
                    --skip_;
                    return true;
                }
                return Char(char16_t(Cp1252CodePoint(std::uint8_t(hi * 16 + lo))), true);
            }
            case '\\':
            case '{':
            case '}':
                return Char(char16_t(c));
            case '~':
                return Char(0x00A0);
            case '_':
                return Char(0x2011);
            case '\r':
            case '\n':
                return Paragraph();
            case '*':
                star_ = true;
                return true;
            default:  // \- \| \: and unknown symbols
                if (skip_ > 0) --skip_;
                return true;
        }
    }

    bool ControlWord(std::size_t start) {
        const std::size_t nameStart = pos_;
        while (pos_ < in_.size() && IsLetter(in_[pos_])) {
            if (pos_ - nameStart >= std::size_t(kMaxRtfWordLength))
                return Fail(start, "control word longer than " + std::to_string(kMaxRtfWordLength) +
                                       " letters");
            ++pos_;
        }
        const std::string_view name = in_.substr(nameStart, pos_ - nameStart);
        bool hasParam = false;
        long long param = 0;
        bool negative = false;
        if (pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        const std::size_t digits = pos_;
        while (pos_ < in_.size() && IsDigit(in_[pos_])) {
            if (pos_ - digits >= std::size_t(kMaxRtfNumberDigits))
                return Fail(
                    start, "number longer than " + std::to_string(kMaxRtfNumberDigits) + " digits");
            param = param * 10 + (in_[pos_] - '0');
            hasParam = true;
            ++pos_;
        }
        // Ten digits fit in 64 bits; what passes 32 bits is clamped.
        param = std::clamp(negative ? -param : param, -2147483648LL, 2147483647LL);
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;

        const auto it = Words().find(name);
        const WordInfo info = it == Words().end() ? WordInfo{Word::Unknown} : it->second;
        if (info.word == Word::Bin) {
            const auto count = std::uint64_t(std::max(param, 0LL));
            if (count > in_.size() - pos_) return Fail(start, "\\bin runs past the end");
            pos_ += count;
            if (skip_ > 0) --skip_;
            return true;
        }
        if (skip_ > 0) {  // a control word stands for one fallback character
            --skip_;
            return true;
        }
        const bool starred = star_;
        star_ = false;
        if (cur_.dest == Dest::Skip) return true;
        if (starred && info.word != Word::Pn && info.word != Word::ListTable &&
            info.word != Word::ListOverrideTable) {
            cur_.dest = Dest::Skip;
            return true;
        }
        return Apply(info, hasParam, int(param), start);
    }

    bool Apply(const WordInfo& info, bool hasParam, int param, std::size_t start) {
        const bool on = !hasParam || param != 0;
        switch (info.word) {
            case Word::SkipDest:
                cur_.dest = Dest::Skip;
                return true;
            case Word::FontTable:
                cur_.dest = Dest::FontTable;
                return true;
            case Word::ColourTable:
                cur_.dest = Dest::ColourTable;
                return true;
            case Word::Pn:
                if (cur_.dest == Dest::Text) cur_.dest = Dest::Pn;
                return true;
            case Word::ListTable:
                cur_.dest = Dest::ListTable;
                return true;
            case Word::ListOverrideTable:
                cur_.dest = Dest::Overrides;
                return true;
            case Word::Uc:
                cur_.uc = std::max(param, 0);
                return true;
            case Word::U:
                if (!Char(param < -32768 || param > 65535
                              ? char16_t(QChar::ReplacementCharacter)
                              : char16_t(param < 0 ? param + 65536 : param)))
                    return false;
                skip_ = cur_.uc;
                return true;
            case Word::Char:
                return Char(info.ch);
            case Word::Deff:
                deff_ = param;
                cur_.ch.font = param;
                return true;
            default:
                break;
        }
        switch (cur_.dest) {
            case Dest::Text:
                return TextWord(info.word, on, param);
            case Dest::FontTable:
                if (info.word == Word::F) fontNumber_ = param;
                return true;
            case Dest::ColourTable:
                if (info.word == Word::Red) colour_[0] = std::clamp(param, 0, 255);
                if (info.word == Word::Green) colour_[1] = std::clamp(param, 0, 255);
                if (info.word == Word::Blue) colour_[2] = std::clamp(param, 0, 255);
                if (info.word == Word::Red || info.word == Word::Green || info.word == Word::Blue)
                    colourSet_ = true;
                return true;
            case Dest::Pn:
                PnWord(info.word);
                return true;
            case Dest::ListTable:
                if (info.word == Word::List) {
                    if (int(lists_.size()) >= kMaxRtfLists)
                        return Fail(start, "more than " + std::to_string(kMaxRtfLists) + " lists");
                    lists_.push_back({});
                    level_ = -1;
                } else if (!lists_.empty()) {
                    if (info.word == Word::ListLevel) ++level_;
                    if (info.word == Word::LevelNfc && level_ == 0) lists_.back().nfc = param;
                    if (info.word == Word::ListId) {
                        lists_.back().id = param;
                        listOfId_.try_emplace(param, lists_.size() - 1);
                    }
                }
                return true;
            case Dest::Overrides:
                if (info.word == Word::ListOverride) {
                    if (int(overrides_.size()) >= kMaxRtfLists)
                        return Fail(
                            start, "more than " + std::to_string(kMaxRtfLists) + " list overrides");
                    overrides_.push_back({});
                } else if (!overrides_.empty()) {
                    if (info.word == Word::ListId) overrides_.back().id = param;
                    if (info.word == Word::Ls) {
                        overrides_.back().ls = param;
                        overrideOfLs_.try_emplace(param, overrides_.size() - 1);
                    }
                }
                return true;
            case Dest::Skip:
                return true;
        }
        return true;
    }

    bool TextWord(Word word, bool on, int param) {
        CharState& ch = cur_.ch;
        switch (word) {
            case Word::F:
                ch.font = param;
                break;
            case Word::Fs:
                ch.halfPoints = param > 0 ? std::clamp(param, kMinHalfPoints, kMaxHalfPoints)
                                          : kDefaultHalfPoints;
                break;
            case Word::B:
                ch.bold = on;
                break;
            case Word::I:
                ch.italic = on;
                break;
            case Word::Ul:
                ch.underline = on;
                break;
            case Word::UlNone:
                ch.underline = false;
                break;
            case Word::Cf:
                ch.colour = param;
                break;
            case Word::Plain:
                ch = CharState{deff_};
                break;
            case Word::Pard:
                para_ = ParaState{};
                break;
            case Word::Ql:
            case Word::Qj:
                para_.alignment = Qt::AlignLeft;
                break;
            case Word::Qc:
                para_.alignment = Qt::AlignHCenter;
                break;
            case Word::Qr:
                para_.alignment = Qt::AlignRight;
                break;
            case Word::Ls:
                para_.ls = param;
                break;
            case Word::Par:
                return Paragraph();
            case Word::Line:
                return Char(0x2028);
            case Word::Tab:
            case Word::Cell:
                return Char(u'\t');
            default:
                break;  // unknown words change nothing
        }
        return true;
    }

    void PnWord(Word word) {
        using F = QTextListFormat;
        switch (word) {
            case Word::PnBullet:
                para_.list = F::ListDisc;
                break;
            case Word::PnBody:
                if (para_.list == F::ListStyleUndefined) para_.list = F::ListDecimal;
                break;
            case Word::PnDec:
                para_.list = F::ListDecimal;
                break;
            case Word::PnUcRoman:
                para_.list = F::ListUpperRoman;
                break;
            case Word::PnLcRoman:
                para_.list = F::ListLowerRoman;
                break;
            case Word::PnUcLetter:
                para_.list = F::ListUpperAlpha;
                break;
            case Word::PnLcLetter:
                para_.list = F::ListLowerAlpha;
                break;
            default:
                break;
        }
    }

    bool CommitFont() {
        if (fonts_.size() >= std::size_t(kMaxRtfFonts) && !fonts_.contains(fontNumber_))
            return Fail(pos_, "more than " + std::to_string(kMaxRtfFonts) + " fonts");
        fonts_[fontNumber_] = FontName(fontName_);
        fontName_.clear();
        return true;
    }

    bool CommitColour() {
        if (int(colours_.size()) >= kMaxRtfColours)
            return Fail(pos_, "more than " + std::to_string(kMaxRtfColours) + " colours");
        colours_.push_back(colourSet_ ? QColor(colour_[0], colour_[1], colour_[2]) : QColor());
        colour_ = {};
        colourSet_ = false;
        return true;
    }

    QTextListFormat::Style ListStyle() const {
        if (para_.ls > 0) {
            const auto o = overrideOfLs_.find(para_.ls);
            if (o == overrideOfLs_.end()) return QTextListFormat::ListDisc;
            const auto l = listOfId_.find(overrides_[o->second].id);
            return l == listOfId_.end() ? QTextListFormat::ListDisc
                                        : StyleOfNfc(lists_[l->second].nfc);
        }
        return para_.list;
    }

    // Texts use few formats: the last ones made are kept.
    const QTextCharFormat& Format(const CharState& ch) const {
        for (const auto& [state, format] : formats_)
            if (state == ch) return format;
        if (formats_.size() >= 32) formats_.clear();
        return formats_.emplace_back(ch, MakeFormat(ch)).second;
    }

    QTextCharFormat MakeFormat(const CharState& ch) const {
        QTextCharFormat f;
        if (const auto font = fonts_.find(ch.font); font != fonts_.end() && !font->second.isEmpty())
            f.setFontFamilies({font->second});
        f.setFontPointSize(ch.halfPoints / 2.0);
        f.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(ch.italic);
        f.setFontUnderline(ch.underline);
        if (ch.colour > 0 && ch.colour < int(colours_.size()) && colours_[ch.colour].isValid())
            f.setForeground(colours_[ch.colour]);
        return f;
    }

    bool Paragraph() { return cur_.dest != Dest::Text || FinishParagraph(false); }

    // Ends the paragraph read so far. The paragraph left open at the end
    // counts only when it has text: every paragraph the writer writes ends
    // with \par.
    bool FinishParagraph(bool atEnd) {
        if (atEnd && runs_.empty() && !paragraphs_.empty()) return true;
        if (paragraphs_.size() >= std::size_t(kMaxRtfParagraphs))
            return Fail(pos_, "more than " + std::to_string(kMaxRtfParagraphs) + " paragraphs");
        paragraphs_.push_back({para_.alignment, ListStyle(), cur_.ch, std::move(runs_)});
        runs_.clear();
        return true;
    }

  public:
    // The document is built once everything was read: a refused input costs
    // no document work and leaves the document as it was.
    void Build(QTextDocument& doc) const {
        QTextCursor cursor(&doc);
        QTextList* list = nullptr;
        bool first = true;
        for (const ReadParagraph& p : paragraphs_) {
            QTextBlockFormat block;
            block.setAlignment(p.alignment);
            if (first) {
                cursor.setBlockFormat(block);
                cursor.setBlockCharFormat(Format(p.blockChar));
                first = false;
            } else {
                cursor.insertBlock(block, Format(p.blockChar));
            }
            for (const TextRun& run : p.runs) {
                const QString text = Clean(run.text);
                if (!text.isEmpty()) cursor.insertText(text, Format(run.ch));
            }
            if (p.list == QTextListFormat::ListStyleUndefined) {
                list = nullptr;
            } else if (list != nullptr && list->format().style() == p.list) {
                list->add(cursor.block());
            } else {
                QTextListFormat format;
                format.setStyle(p.list);
                list = cursor.createList(format);
            }
        }
    }

  private:
    std::string_view in_;
    std::size_t pos_ = 0;
    RtfError error_;
    std::vector<Group> stack_;
    Group cur_;
    ParaState para_;
    int skip_ = 0;  // \uc fallback characters still to skip
    bool star_ = false;
    int deff_ = 0;
    std::unordered_map<int, QString> fonts_;
    int fontNumber_ = 0;
    QString fontName_;
    std::vector<QColor> colours_;
    std::array<int, 3> colour_{};
    bool colourSet_ = false;
    std::vector<ListDef> lists_;
    std::vector<Override> overrides_;
    std::unordered_map<long long, std::size_t> listOfId_;  // the first of each number
    std::unordered_map<int, std::size_t> overrideOfLs_;
    int level_ = -1;
    std::vector<TextRun> runs_;
    std::vector<ReadParagraph> paragraphs_;
    mutable std::vector<std::pair<CharState, QTextCharFormat>> formats_;
    int runCount_ = 0;
};

// ---------------------------------------------------------------- writing

struct Style {
    int font = 0;  // index in the font table
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = 0;  // index in the colour table, 0 for the text's own colour
    bool operator==(const Style&) const = default;
};

struct OutRun {
    Style style;
    QString text;
};

struct OutParagraph {
    int alignment = 0;  // 0 left, 1 centre, 2 right
    bool bullet = false;
    Style empty;  // the style of an empty paragraph
    std::vector<OutRun> runs;
};

class Writer {
  public:
    explicit Writer(const QTextDocument& doc) : doc_(doc) {}

    std::string Write() {
        Collect();
        std::string& o = out_;
        o.reserve(std::size_t(doc_.characterCount()) + 1024);
        o += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
        for (std::size_t i = 0; i < fonts_.size(); ++i) {
            o += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
            delimit_ = false;
            Text(fonts_[i], /*fontName=*/true);
            o += ";}";
        }
        o += '}';
        if (!colours_.empty()) {
            o += "{\\colortbl ;";
            for (const QRgb c : colours_)
                o += "\\red" + std::to_string(qRed(c)) + "\\green" + std::to_string(qGreen(c)) +
                     "\\blue" + std::to_string(qBlue(c)) + ';';
            o += '}';
        }
        o += "\r\n";
        for (const OutParagraph& p : paragraphs_) {
            o += "\\pard";
            delimit_ = true;
            if (p.alignment == 1) o += "\\qc";
            if (p.alignment == 2) o += "\\qr";
            if (p.bullet) {
                // The bullet as text for readers that ignore the mark, then the mark.
                o += "{\\pntext\\'95\\tab}";
                o += "{\\*\\pn\\pnlvlblt\\pnindent360{\\pntxtb\\'95}}\\fi-360\\li360";
            }
            if (p.runs.empty()) Change(p.empty);
            for (const OutRun& run : p.runs) {
                Change(run.style);
                Text(run.text, false);
            }
            o += "\\par\r\n";
        }
        o += '}';
        return std::move(out_);
    }

  private:
    void Collect() {
        const QFont defaultFont = doc_.defaultFont();
        for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
            OutParagraph p;
            const Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
            p.alignment = (a & Qt::AlignHCenter) ? 1 : (a & Qt::AlignRight) ? 2 : 0;
            p.bullet = block.textList() != nullptr;
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (!fragment.isValid()) continue;
                // What cannot be written (an image's mark) leaves no trace,
                // not even its format: the reader would have nothing to
                // give it to.
                QString text = Clean(fragment.text());
                if (text.isEmpty()) continue;
                const Style style = StyleOf(fragment.charFormat(), defaultFont);
                if (!p.runs.empty() && p.runs.back().style == style) {
                    p.runs.back().text += text;
                } else {
                    p.runs.push_back({style, std::move(text)});
                }
            }
            if (p.runs.empty()) p.empty = StyleOf(block.charFormat(), defaultFont);
            paragraphs_.push_back(std::move(p));
        }
    }

    Style StyleOf(const QTextCharFormat& f, const QFont& defaultFont) {
        Style s;
        const QStringList families = f.fontFamilies().toStringList();
        QString family = FontName(families.isEmpty() ? QString() : families.first());
        if (family.isEmpty()) family = FontName(defaultFont.family());
        const auto [font, added] = fontIndex_.try_emplace(family, int(fonts_.size()));
        if (added) fonts_.push_back(family);
        s.font = font->second;
        double points = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 0;
        if (points <= 0) points = defaultFont.pointSizeF();
        s.halfPoints =
            points > 0 ? std::clamp(int(std::lround(points * 2)), kMinHalfPoints, kMaxHalfPoints)
                       : kDefaultHalfPoints;
        s.bold = f.fontWeight() > QFont::Medium;
        s.italic = f.fontItalic();
        s.underline = f.fontUnderline();
        if (f.foreground().style() != Qt::NoBrush) {
            const QRgb rgb = f.foreground().color().rgb() | 0xFF000000u;
            const auto [colour, addedColour] =
                colourIndex_.try_emplace(rgb, int(colours_.size()) + 1);
            if (addedColour) colours_.push_back(rgb);
            s.colour = colour->second;
        }
        return s;
    }

    void Put(const char* word, int param) {
        out_ += word;
        out_ += std::to_string(param);
        delimit_ = true;
    }

    void Put(const char* word) {
        out_ += word;
        delimit_ = true;
    }

    // Only the control words that change the current style.
    void Change(const Style& s) {
        if (s.font != cur_.font) Put("\\f", s.font);
        if (s.halfPoints != cur_.halfPoints) Put("\\fs", s.halfPoints);
        if (s.bold != cur_.bold) Put(s.bold ? "\\b" : "\\b0");
        if (s.italic != cur_.italic) Put(s.italic ? "\\i" : "\\i0");
        if (s.underline != cur_.underline) Put(s.underline ? "\\ul" : "\\ulnone");
        if (s.colour != cur_.colour) Put("\\cf", s.colour);
        cur_ = s;
    }

    void Plain(char c) {
        if (delimit_) out_ += ' ';
        delimit_ = false;
        out_ += c;
    }

    void Escape(std::uint8_t b) {
        static constexpr char kHex[] = "0123456789abcdef";
        out_ += "\\'";
        out_ += kHex[b >> 4];
        out_ += kHex[b & 15];
        delimit_ = false;
    }

    void Unicode(char16_t c) {
        Put("\\u", c > 0x7FFF ? int(c) - 65536 : int(c));
        out_ += '?';
        delimit_ = false;
    }

    void Text(const QString& text, bool fontName) {
        const QString clean = Clean(text);
        for (const QChar qc : clean) {
            const char16_t c = qc.unicode();
            if (c == '\\' || c == '{' || c == '}') {
                out_ += '\\';
                out_ += char(c);
                delimit_ = false;
            } else if (c == ';' && fontName) {
                Escape(';');
            } else if (c == '\t') {
                Put("\\tab");
            } else if (c == 0x2028) {
                Put("\\line");
            } else if (c >= 0x20 && c < 0x7F) {
                Plain(char(c));
            } else if (const auto byte = Cp1252Byte(c)) {
                Escape(*byte);
            } else {
                Unicode(c);
            }
        }
    }

    const QTextDocument& doc_;
    std::vector<OutParagraph> paragraphs_;
    std::vector<QString> fonts_;
    std::unordered_map<QString, int> fontIndex_;
    std::vector<QRgb> colours_;
    std::unordered_map<QRgb, int> colourIndex_;
    std::string out_;
    Style cur_;
    bool delimit_ = false;
};

// What a paragraph looks like apart from its text; the list by its format,
// because a list emptied by an edit may be gone.
struct BlockLook {
    QTextBlockFormat format;
    QTextCharFormat charFormat;
    std::optional<QTextListFormat> list;
};

BlockLook LookOf(const QTextBlock& block) {
    BlockLook look{block.blockFormat(), block.charFormat(), std::nullopt};
    look.format.setObjectIndex(-1);
    if (const QTextList* list = block.textList()) look.list = list->format();
    return look;
}

// Gives the block `number` that look, joining the list that follows it when
// that one has the same style.
void Give(QTextDocument& doc, int number, const BlockLook& look) {
    const QTextBlock block = doc.findBlockByNumber(number);
    if (QTextList* list = block.textList()) list->remove(block);
    QTextCursor c(block);
    c.setBlockFormat(look.format);
    c.setBlockCharFormat(look.charFormat);
    if (!look.list) return;
    const QTextBlock next = block.next();
    QTextList* const nextList = next.isValid() ? next.textList() : nullptr;
    if (nextList != nullptr && nextList->format().style() == look.list->style()) {
        nextList->add(block);
    } else {
        c.createList(*look.list);
    }
}

}  // namespace

bool ReadRtf(std::string_view rtf, QTextDocument& doc, RtfError* error) {
    Reader reader(rtf);
    if (!reader.Read(error)) return false;  // the document stays as it was
    // One edit without undo: the cursor does not lay out each paragraph as
    // it goes.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    QTextCursor edit(&doc);
    edit.beginEditBlock();
    reader.Build(doc);
    edit.endEditBlock();
    doc.setUndoRedoEnabled(undo);
    return true;
}

std::string WriteRtf(const QTextDocument& doc) {
    return Writer(doc).Write();
}

void PrependParagraphs(QTextDocument& doc, const QStringList& lines) {
    if (lines.isEmpty()) return;
    const BlockLook content = LookOf(doc.begin());
    QTextCursor c(&doc);
    c.beginEditBlock();
    c.movePosition(QTextCursor::Start);
    for (qsizetype i = 0; i < lines.size(); ++i)
        c.insertBlock(QTextBlockFormat(), QTextCharFormat());
    // The first block stays where it was and takes the first line; the
    // content moved into the last new block, which takes the first block's look.
    Give(doc, int(lines.size()), content);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        Give(doc, int(i), BlockLook{});
        QTextCursor line(doc.findBlockByNumber(int(i)));
        line.insertText(Clean(lines[i]), QTextCharFormat());
    }
    c.endEditBlock();
}

bool DropLeadingParagraphs(QTextDocument& doc, int count) {
    if (count < 0 || doc.blockCount() < count) return false;
    if (count == 0) return true;
    const QTextBlock keep = doc.findBlockByNumber(count);
    const BlockLook look = keep.isValid() ? LookOf(keep) : BlockLook{};
    QTextCursor c(&doc);
    c.beginEditBlock();
    if (keep.isValid()) {
        c.setPosition(keep.position(), QTextCursor::KeepAnchor);
    } else {
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    c.removeSelectedText();
    Give(doc, 0, look);
    c.endEditBlock();
    return true;
}

}  // namespace quarnel
