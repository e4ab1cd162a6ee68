// SPDX-License-Identifier: GPL-3.0-or-later
// Reading RTF as other writers make it, and refusing what is malformed or
// past the limits without a crash or a hang.

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <functional>

#include "rtf/rtf.h"

namespace quarnel {
namespace {

// One line per paragraph: alignment (< | >), the list mark (* disc, 1
// decimal), then each run as {font size [b] [i] [u] [#rrggbb]}text, with a
// tab as \t and a line break as \n.
QString Describe(const QTextDocument& doc) {
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        QString line = a == Qt::AlignHCenter ? "|" : a == Qt::AlignRight ? ">" : "<";
        if (const QTextList* list = b.textList())
            line += list->format().style() == QTextListFormat::ListDisc ? "*" : "1";
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QStringList families = f.fontFamilies().toStringList();
            line += "{" + (families.isEmpty() ? QString() : families.first()) + " " +
                    QString::number(f.fontPointSize());
            if (f.fontWeight() == QFont::Bold) line += " b";
            if (f.fontItalic()) line += " i";
            if (f.fontUnderline()) line += " u";
            if (f.foreground().style() != Qt::NoBrush) line += " " + f.foreground().color().name();
            line += "}" + it.fragment().text().replace('\t', "\\t").replace(QChar(0x2028), "\\n");
        }
        lines << line;
    }
    return lines.join('\n');
}

QString Read(const std::string& rtf) {
    QTextDocument doc;
    RtfError error;
    if (!ReadRtf(rtf, doc, &error))
        return QString::fromStdString("error at " + std::to_string(error.offset) + ": " +
                                      error.reason);
    return Describe(doc);
}

struct Case {
    const char* writer;
    std::string rtf;
    const char* expected;  // UTF-8
};

TEST(RtfRead, WritersStyles) {
    const Case cases[] = {
        {"rich-edit control",
         R"({\rtf1\ansi\ansicpg1252\deff0\deflang1036{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\froman\fprq2\fcharset0 Times New Roman;}{\f2\fnil\fcharset2 Symbol;}}
{\colortbl ;\red255\green0\blue0;\red0\green128\blue0;}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\f0\fs20 Bonjour \b gras\b0 , \i italique\i0 , \ul soulign\'e9\ulnone .\par
\pard\qc\cf1\f1\fs28 Centr\'e9 rouge\cf0\par
\pard{\pntext\f2\'B7\tab}{\*\pn\pnlvlblt\pnf2\pnindent0{\pntxtb\'B7}}\fi-720\li720\f0\fs20 un\par
{\pntext\f2\'B7\tab}deux\tab fin\line suite\par
\pard\qr\cf2 \u8364? et \u945?\par
}
)",
         "<{Arial 10}Bonjour {Arial 10 b}gras{Arial 10}, {Arial 10 i}italique{Arial 10}, "
         "{Arial 10 u}souligné{Arial 10}.\n"
         "|{Times New Roman 14 #ff0000}Centré rouge\n"
         "<*{Arial 10}un\n"
         "<*{Arial 10}deux\\tfin\\nsuite\n"
         ">{Arial 10 #008000}€ et α"},
        {"word processor",
         R"({\rtf1\adeflang1025\ansi\ansicpg1252\uc1\adeff31507\deff0\stshfdbch31505\deflang1036{\fonttbl{\f0\fbidi \froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}
{\f3\fbidi \froman\fcharset2\fprq2{\*\panose 05050102010706020507}Symbol;}{\f37\fbidi \fswiss\fcharset0\fprq2{\*\panose 020f0502020204030204}Calibri;}}
{\colortbl;\red0\green0\blue0;\red0\green0\blue255;}{\*\defchp \f31506\fs22 }{\stylesheet{\qc \li0\ri0\sa160\widctlpar\f31506\fs22\b \snext0 \sqformat \spriority0 Normal;}{\*\cs10 \additive \ssemihidden Default Paragraph Font;}}
{\*\listtable{\list\listtemplateid-1\listhybrid{\listlevel\levelnfc23\levelnfcn23\leveljc0\levelfollow0\levelstartat1{\leveltext\leveltemplateid67895297\'01\u-3913 ?;}{\levelnumbers;}\f3\fbias0 \fi-360\li720\lin720 }
{\listlevel\levelnfc4\levelnfcn4{\leveltext\'02\'01.;}{\levelnumbers\'01;}\fi-360\li1440 }{\listname ;}\listid1234567}{\list\listtemplateid5\listsimple{\listlevel\levelnfc0{\leveltext\'02\'00.;}{\levelnumbers\'01;}}\listid7654321}}
{\*\listoverridetable{\listoverride\listid1234567\listoverridecount0\ls1}{\listoverride\listid7654321\listoverridecount0\ls2}}
{\info{\title Essai}{\author Quelqu'un}{\creatim\yr2026\mo12\dy7}}{\*\xmlnstbl {\xmlns1 http://schemas.example/}}
\paperw11906\paperh16838\margl1417\widowctrl\ftnbj\aenddoc\viewkind1\viewscale100
\sectd \ltrsect\linex0\sectdefaultcl\sftnbj {\*\pnseclvl1\pnucrm\pnstart1\pnindent720\pnhang {\pntxta .}}
\pard\plain \ltrpar\ql \li0\ri0\sa160\widctlpar\rin0\lin0\itap0\pararsid1 \rtlch\fcs1 \af31507\afs22 \ltrch\fcs0 \f37\fs22\lang1036 {\rtlch\fcs1 \af31507 \ltrch\fcs0 \insrsid1 Caf\'e9 cr\'e8me }{\rtlch\fcs1 \ab\af31507 \ltrch\fcs0 \b\insrsid1 \'e0 }{\*\bkmkstart x}{\field{\*\fldinst {HYPERLINK "https://exemple.fr/"}}{\fldrslt {\ul\cf2 lien}}}\par
\pard \ltrpar\ql \fi-360\li720\ri0\sa160\widctlpar\ls1\rin0\lin720\itap0 {\listtext\pard\plain\ltrpar \rtlch\fcs1 \af31507\afs22 \ltrch\fcs0 \f3\fs22\insrsid1 \loch\af3\dbch\af31506\hich\f3 \'b7\tab}{\insrsid1 premier}\par
{\listtext\pard\plain\f3\fs22 \'b7\tab}second\par
\pard \ltrpar\ls2\ilvl0 {\listtext 1.\tab}num\'e9ro\par
\pard\qj {\f0\fs24 justifi\'e9 \{accolades\} \\ barre\~!}\par
{\*\themedata 504b0304}{\*\datastore 0105000002000000}}
)",
         "<{Calibri 11}Café crème {Calibri 11 b}à {Calibri 11 u #0000ff}lien\n"
         "<*{Calibri 11}premier\n"
         "<*{Calibri 11}second\n"
         "<1{Calibri 11}numéro\n"
         "<{Times New Roman 12}justifié {accolades} \\ barre\u00a0!"},
        {"sloppy: no tables, stray 8-bit byte, backslash-newline, last brace missing",
         "{\\rtf1\\ansi Caf\xe9\\\nWorld \\b\\i\\ul x\\plain y",
         "<{ 12}Café\n<{ 12}World { 12 b i u}x{ 12}y"},
        {"fallback counts: \\uc2, a control word as one character, a group ends the skip",
         R"({\rtf1\uc2 a\u945\'3f\'3fb\uc1\u946?\par c{\u233 xyz}d\u-10179?\u-8704?\uc0\u946 e\u-99999 .})",
         "<{ 12}aαbβ\n<{ 12}céyzd😀βe�."},
        {"\\bin data and unknown words and destinations skipped",
         std::string("{\\rtf1 a{\\pict\\bin5 ") + std::string("\0{}\\\xff", 5) +
             "}\\foo12 b{\\*\\unknown {x}y}{\\comment z}c\\bin0 d}",
         "<{ 12}abcd"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.rtf), QString::fromUtf8(c.expected)) << c.writer;
}

TEST(RtfRead, MalformedInputIsRefusedWithItsPlace) {
    struct Bad {
        std::string rtf;
        std::size_t offset;
    };
    const std::string deep = "{\\rtf1 " + std::string(100000, '{') + std::string(100001, '}');
    const Bad bad[] = {
        {"", 0},
        {"plain text", 0},
        {"{\\rtf1 {{\\b a}", 14},            // cut inside an inner group
        {"{\\rtf1 a\\'4", 8},                // truncated \'
        {"{\\rtf1 a\\'g0}", 8},              // not hexadecimal
        {"{\\rtf1 a\\", 8},                  // backslash at the end
        {"{\\rtf1 \\bin2147483647 ab}", 7},  // more binary data than there is
        {"{\\rtf1 \\fs12345678901 a}", 7},   // eleven digits
        {deep, 6 + kMaxRtfDepth},
        {"{\\rtf1 \\" + std::string(8 << 20, 'w') + "}", 7},  // 8 MiB control word
    };
    for (const Bad& b : bad) {
        QTextDocument doc;
        doc.setPlainText("before");
        RtfError error;
        EXPECT_FALSE(ReadRtf(b.rtf, doc, &error)) << b.rtf.substr(0, 40);
        EXPECT_EQ(error.offset, b.offset) << b.rtf.substr(0, 40) << ": " << error.reason;
        EXPECT_FALSE(error.reason.empty());
        EXPECT_EQ(doc.toPlainText(), "before");
    }
    // What is tolerated: a truncated \u, numbers clamped to 32 bits, a
    // negative \bin, a missing last brace.
    EXPECT_EQ(Read("{\\rtf1 a\\u"), "<{ 12}a");
    EXPECT_EQ(Read("{\\rtf1 \\fs9999999999 a\\u-9999999999 \\bin-5 b}"), "<{ 1638}a\uFFFDb");
}

// Each limit: accepted at it, refused one past it.
TEST(RtfRead, Limits) {
    auto repeated = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += s;
        return out;
    };
    auto fonts = [&](int n) {
        std::string t = "{\\rtf1{\\fonttbl";
        for (int i = 0; i < n; ++i)
            t += "{\\f" + std::to_string(i) + " F" + std::to_string(i) + ";}";
        return t + "}\\f" + std::to_string(n - 1) + " a}";
    };
    auto colours = [&](int n) { return "{\\rtf1{\\colortbl" + repeated("\\red1;", n) + "}a}"; };
    auto lists = [&](int n) { return "{\\rtf1{\\*\\listtable" + repeated("{\\list}", n) + "}a}"; };
    auto overrides = [&](int n) {
        return "{\\rtf1{\\*\\listoverridetable" + repeated("{\\listoverride\\ls1}", n) + "}a}";
    };
    auto fontName = [](int n) { return "{\\rtf1{\\fonttbl{\\f0 " + std::string(n, 'n') + ";}}a}"; };
    auto word = [](int n) { return "{\\rtf1 \\" + std::string(n, 'w') + " a}"; };
    auto digits = [](int n) { return "{\\rtf1 \\fs" + std::string(n, '1') + " a}"; };
    auto paragraphs = [&](int n) { return "{\\rtf1 " + repeated("\\par ", n - 1) + "a}"; };
    auto runs = [](int n) {
        std::string t = "{\\rtf1 ";
        for (int i = 1; i < n; ++i)
            t += i % 2 ? "\\b x" : "\\b0 x";
        return t + (n % 2 ? "\\b a}" : "\\b0 a}");
    };
    auto depth = [](int n) {
        return "{\\rtf1 " + std::string(n - 1, '{') + "a" + std::string(n, '}');
    };
    const std::pair<std::function<std::string(int)>, int> limits[] = {
        {fonts, kMaxRtfFonts},
        {colours, kMaxRtfColours},
        {lists, kMaxRtfLists},
        {overrides, kMaxRtfLists},
        {fontName, kMaxRtfFontNameLength},
        {word, kMaxRtfWordLength},
        {digits, kMaxRtfNumberDigits},
        {depth, kMaxRtfDepth},
        {paragraphs, kMaxRtfParagraphs},
        {runs, kMaxRtfRuns},
    };
    for (const auto& [make, limit] : limits) {
        QTextDocument doc;
        EXPECT_TRUE(ReadRtf(make(limit), doc)) << make(limit).substr(0, 60);
        EXPECT_TRUE(doc.toPlainText().endsWith("a"));
        RtfError error;
        EXPECT_FALSE(ReadRtf(make(limit + 1), doc, &error)) << make(limit).substr(0, 60);
    }
    // The last font of the full table is found.
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf(fonts(kMaxRtfFonts), doc));
    EXPECT_EQ(Describe(doc), "<{F4095 12}a");

    auto sized = [](std::size_t size) {
        const std::string head = "{\\rtf1 a\\bin";
        std::string n = std::to_string(size);  // the count's own digits are part of the size
        const std::size_t data = size - head.size() - n.size() - 2;
        n = std::to_string(data);
        return head + n + " " + std::string(data, 'x') + "}";
    };
    const std::string full = sized(kMaxRtfBytes);
    ASSERT_EQ(full.size(), kMaxRtfBytes);
    EXPECT_TRUE(ReadRtf(full, doc));
    RtfError error;
    EXPECT_FALSE(ReadRtf(full + " ", doc, &error));
    EXPECT_EQ(error.offset, kMaxRtfBytes);
}

}  // namespace
}  // namespace quarnel
