// SPDX-License-Identifier: GPL-3.0-or-later
// What the composer can make comes back byte for byte: written, read and
// written again; and with header paragraphs added and dropped in between.

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <cstdlib>
#include <random>

#include "rtf/rtf.h"

namespace quarnel {
namespace {

const int kSizes[] = {4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 22,
                      24, 26, 28, 30, 32, 34, 36, 38, 40, 44, 48, 52, 56, 60, 64, 68, 72};
const QRgb kColours[] = {0xFF0000, 0x008000, 0x0000FF, 0x000000};

// Documents as the composer's editor builds them: fonts of the platform (and
// names the writer must escape), its sizes and colours, bold, italic,
// underline, three alignments, bullets, tabs and line breaks, and characters
// inside and outside code page 1252.
class Composer {
  public:
    explicit Composer(unsigned seed) : rng_(seed) {
        fonts_ = QFontDatabase::families().mid(0, 6);
        fonts_ << "Times New Roman" << QString::fromUtf8("Génération Süd") << "A{b}\\c;d";
        const QString pool = QString::fromUtf8(
            "abcdefghijklmnopqrstuvwxyz ABC 0123456789 .,;:!?-'\"()[]{}\\/*+=_~@#$%&|<>^`"
            "éèàçùâêîôûëïüÿœæÉÀÇ€£¥©®°±²³µ¶·»«¿ß×÷ƒ‰Š‹Ž‘’“”•–—˜™šžŸ\u00a0"
            "αβγδΩЖшя中文한국語\u2028\t\u2011");
        for (const QChar c : pool)
            pool_.push_back(QString(c));
        pool_.push_back(QString::fromUtf8("😀"));  // outside the 16-bit plane
        pool_.push_back(QString::fromUtf8("𝄞"));
    }

    void Make(QTextDocument& doc) {
        doc.clear();
        QTextCursor c(&doc);
        const int paragraphs = Pick(1, 8);
        QTextList* list = nullptr;
        for (int p = 0; p < paragraphs; ++p) {
            QTextBlockFormat block;
            const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
            block.setAlignment(aligns[Pick(0, 2)]);
            if (p == 0) {
                c.setBlockFormat(block);
                c.setBlockCharFormat(Format());
            } else {
                c.insertBlock(block, Format());
            }
            const int runs = Pick(0, 4);
            for (int r = 0; r < runs; ++r) {
                QString text;
                for (int n = Pick(1, 12); n > 0; --n)
                    text += pool_[std::size_t(Pick(0, int(pool_.size()) - 1))];
                c.insertText(text, Format());
            }
            if (Pick(0, 2) == 0) {
                if (list != nullptr && Pick(0, 1) == 0) {
                    list->add(c.block());
                } else {
                    list = c.createList(QTextListFormat::ListDisc);
                }
            } else {
                list = nullptr;
            }
        }
    }

  private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    QTextCharFormat Format() {
        QTextCharFormat f;
        if (Pick(0, 5) > 0) f.setFontFamilies({fonts_[Pick(0, int(fonts_.size()) - 1)]});
        if (Pick(0, 5) > 0) f.setFontPointSize(kSizes[Pick(0, int(std::size(kSizes)) - 1)]);
        if (Pick(0, 2) == 0) f.setFontWeight(QFont::Bold);
        if (Pick(0, 2) == 0) f.setFontItalic(true);
        if (Pick(0, 2) == 0) f.setFontUnderline(true);
        if (Pick(0, 2) == 0) f.setForeground(QColor(kColours[Pick(0, 3)]));
        return f;
    }

    std::mt19937 rng_;
    QStringList fonts_;
    std::vector<QString> pool_;
};

int Cases() {
    const char* n = std::getenv("QUARNEL_RTF_CASES");
    return n != nullptr ? std::atoi(n) : 3000;
}

TEST(RtfRoundTrip, ComposerDocumentsComeBackByteForByte) {
    Composer composer(20261207);
    const QStringList header = {"Message déchiffré", "", "0FF00002000 \t{MARTIN}", "α\\β"};
    QTextDocument doc, again;
    for (int i = 0, cases = Cases(); i < cases; ++i) {
        composer.Make(doc);
        const std::string m = WriteRtf(doc);
        ASSERT_EQ(m, WriteRtf(doc)) << "not deterministic";
        RtfError error;
        ASSERT_TRUE(ReadRtf(m, again, &error)) << error.offset << ' ' << error.reason << '\n' << m;
        ASSERT_EQ(again.toPlainText(), doc.toPlainText()) << m;
        ASSERT_EQ(WriteRtf(again), m) << "case " << i;
        for (int b = 0; b < doc.blockCount(); ++b)
            ASSERT_EQ(again.findBlockByNumber(b).textList() != nullptr,
                      doc.findBlockByNumber(b).textList() != nullptr);

        // The saved message: header lines, then the message; the header
        // dropped again gives the sender's bytes.
        const int lines = 1 + i % int(header.size());
        PrependParagraphs(again, header.mid(0, lines));
        ASSERT_EQ(again.blockCount(), doc.blockCount() + lines);
        ASSERT_EQ(again.firstBlock().text(), header[0]);
        const std::string saved = WriteRtf(again);
        ASSERT_TRUE(ReadRtf(saved, again, &error)) << error.reason;
        ASSERT_TRUE(DropLeadingParagraphs(again, lines));
        ASSERT_EQ(WriteRtf(again), m) << "case " << i << '\n' << saved;
    }
}

// Certified digests are made over these bytes: the form must not drift.
TEST(RtfRoundTrip, CanonicalFormIsPinned) {
    QTextDocument doc;
    doc.setDefaultFont(QFont("Base", 10));
    QTextCursor c(&doc);
    QTextCharFormat underline;
    underline.setFontUnderline(true);
    underline.setFontItalic(true);
    QTextCharFormat red;
    red.setFontFamilies({"Times New Roman"});
    red.setFontPointSize(14);
    red.setFontWeight(QFont::Bold);
    red.setForeground(QColor(0xFF0000));
    c.insertText("Caf\u00e9 {1}\\ \u20ac\t", red);
    c.insertText(QString::fromUtf8("\u03b1\u2028\U0001F600"), QTextCharFormat());
    QTextCharFormat image = underline;  // an image's mark: no trace, not even its font
    image.setFontFamilies({"Unused"});
    c.insertText(QString(QChar::ObjectReplacementCharacter), image);
    QTextBlockFormat centre;
    centre.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centre, red);
    c.insertBlock(QTextBlockFormat());
    c.createList(QTextListFormat::ListDisc);
    c.insertText("x", underline);
    EXPECT_EQ(WriteRtf(doc),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Times New "
              "Roman;}{\\f1\\fnil\\fcharset0 Base;}}{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
              "\\pard\\fs28\\b\\cf1 Caf\\'e9 \\{1\\}\\\\ \\'80\\tab\\f1\\fs20\\b0\\cf0\\u945?\\line"
              "\\u-10179?\\u-8704?\\par\r\n"
              "\\pard\\qc\\f0\\fs28\\b\\cf1\\par\r\n"
              "\\pard{\\pntext\\'95\\tab}{\\*\\pn\\pnlvlblt\\pnindent360{\\pntxtb\\'95}}\\fi-360"
              "\\li360\\f1\\fs20\\b0\\i\\ul\\cf0 x\\par\r\n}");
}

TEST(RtfRoundTrip, DroppingCountsParagraphs) {
    QTextDocument doc;
    ASSERT_TRUE(ReadRtf("{\\rtf1 {\\b one}\\par\\qc two\\par three\\par}", doc));
    EXPECT_FALSE(DropLeadingParagraphs(doc, 4));
    EXPECT_FALSE(DropLeadingParagraphs(doc, -1));
    EXPECT_EQ(doc.blockCount(), 3);
    ASSERT_TRUE(DropLeadingParagraphs(doc, 1));
    EXPECT_EQ(doc.toPlainText(), "two\nthree");
    EXPECT_EQ(doc.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    ASSERT_TRUE(DropLeadingParagraphs(doc, 2));
    EXPECT_EQ(doc.blockCount(), 1);
    EXPECT_TRUE(doc.isEmpty());
}

}  // namespace
}  // namespace quarnel
