// SPDX-License-Identifier: GPL-3.0-or-later
// The installed program's places, the TA parameter file asked for on a first
// start.

#include <gtest/gtest.h>

#include <fstream>

#include "app/install_places.h"
#include "app/program_data.h"
#include "app/texts.h"
#include "app/windows/first_start.h"
#include "holder/program_state.h"
#include "holder/settings.h"
#include "scripted_windows.h"
#include "store/atomic_file.h"
#include "temp_dir.h"
#include "windowkit/window_kit.h"

namespace quarnel {
namespace {

namespace fs = std::filesystem;
const fs::path kValidFile = fs::path(QUARNEL_TEST_DATA_DIR) / "ta" / "QuarnelTaPr.0FF";

void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST(InstallPlaces, FilesBesideTheProgramElseTheInstalledDataFolder) {
    test::TempDir prefix;
    const fs::path program = prefix / "bin/quarneltit";
    Write(program, "");
    EXPECT_EQ(ProgramFilesFolder(program), prefix / "bin");  // nothing anywhere
    fs::create_directories(prefix / "share/quarneltit");
    EXPECT_EQ(ProgramFilesFolder(program), prefix / "share/quarneltit");
    Write(prefix / "bin/quarneltit.ENG", "");
    EXPECT_EQ(ProgramFilesFolder(program), prefix / "bin");
}

TEST(TaParameterFile, SizeLimitAndSearchOrder) {
    test::TempDir dir;
    std::string problem;
    TaParameters ta;
    Write(dir / "at/QuarnelTaPr.0FF", std::string(kMaxTaParameterFileSize, 'A'));
    EXPECT_FALSE(ReadTaParameterCandidate(dir / "at/QuarnelTaPr.0FF", ta, &problem));
    EXPECT_EQ(problem.find("larger"), std::string::npos) << problem;  // read, then refused
    Write(dir / "over/QuarnelTaPr.0FF", std::string(kMaxTaParameterFileSize + 1, 'A'));
    EXPECT_FALSE(ReadTaParameterCandidate(dir / "over/QuarnelTaPr.0FF", ta, &problem));
    EXPECT_NE(problem.find("larger"), std::string::npos) << problem;

    HolderContext ctx;
    ctx.programFolder = dir / "program";
    ctx.dataFolder = dir / "data";
    fs::create_directories(ctx.programFolder);
    fs::create_directories(ctx.dataFolder);
    EXPECT_FALSE(ReadTaParameters(ctx, ta, &problem));
    fs::copy_file(kValidFile, ctx.dataFolder / "QuarnelTaPr.0FF");
    ASSERT_TRUE(ReadTaParameters(ctx, ta, &problem)) << problem;
    // The program folder comes first: a damaged file there is not skipped.
    Write(ctx.programFolder / "QuarnelTaPr.0FE", "damaged");
    EXPECT_FALSE(ReadTaParameters(ctx, ta, &problem));
}

struct FirstStart : ::testing::Test {
    FirstStart() {
        ctx.programFolder = dir / "program";
        ctx.dataFolder = dir / "data";
        fs::create_directories(ctx.programFolder);
        fs::create_directories(ctx.dataFolder);
    }
    static ui::ScriptedModalRunner::Handler Choose(const fs::path& file) {
        return
            [file](QDialog& d) { ui::AcceptFileDialog(d, QString::fromStdString(file.string())); };
    }
    test::TempDir dir;
    HolderContext ctx;
    ui::ScriptedMessageBoxes boxes;
    ui::ScriptedModalRunner runner;
};

TEST_F(FirstStart, AsksUntilAValidFileIsChosenAndCopiesItPrivately) {
    Write(dir / "elsewhere/QuarnelTaPr.0FF", std::string(kMaxTaParameterFileSize + 1, 'A'));
    runner.Once(ui::kOpenDialogName, Choose(dir / "elsewhere/QuarnelTaPr.0FF"));
    runner.Once(ui::kOpenDialogName, Choose(kValidFile));
    ASSERT_TRUE(ui::EnsureTaParameterFile(ctx, nullptr));
    EXPECT_EQ(runner.Runs().size(), 2);
    ASSERT_EQ(boxes.Texts().size(), 2);
    EXPECT_TRUE(boxes.Texts()[1].contains("elsewhere")) << boxes.Texts()[1].toStdString();

    const fs::path copied = ctx.dataFolder / "QuarnelTaPr.0FF";
    EXPECT_EQ(ReadWholeFile(copied), ReadWholeFile(kValidFile));
    EXPECT_EQ(fs::status(copied).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    // The next start finds it and asks nothing.
    ASSERT_TRUE(ui::EnsureTaParameterFile(ctx, nullptr));
    EXPECT_EQ(runner.Runs().size(), 2);
}

TEST_F(FirstStart, CancelOrTooManyBadFilesStopsTheProgramWithAReason) {
    EXPECT_FALSE(ui::EnsureTaParameterFile(ctx, nullptr));  // no handler: cancelled
    EXPECT_EQ(boxes.Texts().back(), ui::Tr(txt::kParametersAbsent));

    Write(dir / "bad/QuarnelTaPr.0FF", "not a parameter file");
    runner.Always(ui::kOpenDialogName, Choose(dir / "bad/QuarnelTaPr.0FF"));
    const auto runs = runner.Runs().size();
    EXPECT_FALSE(ui::EnsureTaParameterFile(ctx, nullptr));
    EXPECT_EQ(runner.Runs().size() - runs, std::size_t(ui::kMaxParameterFileTries));
    EXPECT_EQ(boxes.Texts().back(), ui::Tr(txt::kParametersAbsent));
    EXPECT_TRUE(fs::is_empty(ctx.dataFolder));

    // A damaged file in the data folder is reported and left as it is.
    Write(ctx.dataFolder / "QuarnelTaPr.0FF", "damaged");
    const auto before = runner.Runs().size();
    EXPECT_TRUE(ui::EnsureTaParameterFile(ctx, nullptr));
    EXPECT_EQ(runner.Runs().size(), before);
    EXPECT_TRUE(boxes.Texts().back().contains("QuarnelTaPr.0FF"))
        << boxes.Texts().back().toStdString();
    EXPECT_EQ(ReadWholeFile(ctx.dataFolder / "QuarnelTaPr.0FF"), "damaged");
}

TEST_F(FirstStart, AnAffiliatedHolderIsNotAskedAndADataFolderOutsideCodePage1252IsRefused) {
    state::Affiliated(ctx);
    EXPECT_TRUE(ui::EnsureTaParameterFile(ctx, nullptr));
    EXPECT_TRUE(boxes.Texts().isEmpty());

    // Said before any language is chosen: in both.
    const fs::path polish = dir /
                            "\xC5\x82\xC3\xB3"
                            "d\xC5\xBA";  // "łódź"
    fs::create_directories(polish);
    EXPECT_FALSE(ui::ClaimDataFolder(fs::path(QUARNEL_BIN_DIR) / "quarneltit", polish, nullptr));
    ASSERT_EQ(boxes.Texts().size(), 1);
    const QString box = boxes.Texts()[0];
    EXPECT_TRUE(box.contains(QString::fromUtf8("\xC5\x82\xC5\xBA"))) << box.toStdString();
    EXPECT_TRUE(box.contains("ne peut pas") && box.contains("cannot be used")) << box.toStdString();
    EXPECT_TRUE(fs::is_empty(polish));
}

}  // namespace
}  // namespace quarnel
