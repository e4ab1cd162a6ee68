// The main window and the options dialog rendered offscreen in French and in
// English: no text is clipped. The PNGs go to <build>/screenshots for a look.

#include <QDir>
#include <QTabWidget>

#include "shell_fixture.h"
#include "window_test_support.h"

namespace quarnel {
namespace {

class Screenshots : public test::ShellFixture {
  protected:
    void Check(QWidget& window, const QString& name) {
        window.show();
        QApplication::processEvents();
        const QStringList clipped = test::ClippedTexts(window);
        EXPECT_TRUE(clipped.isEmpty()) << name.toStdString() << ":\n"
                                       << clipped.join('\n').toStdString();
        const QString dir = QStringLiteral(QUARNEL_BUILD_DIR "/screenshots");
        QDir().mkpath(dir);
        EXPECT_TRUE(test::SaveScreenshot(window, dir + "/" + name + ".png"));
    }
    void CheckEveryPage(const QString& language) {
        Check(*main, "main_" + language);
        ui::FormOptions& options = OptionsForm();
        options.PrepareFromSettings();
        options.SetTaParameters();
        auto& pages = In<QTabWidget>(options, "PageControl");
        options.show();
        EXPECT_TRUE(In<QPushButton>(options, "BitBtnOk").isEnabled());
        for (int i = 0; i < pages.count(); ++i) {
            pages.setCurrentIndex(i);
            Check(options, QStringLiteral("options_%1_%2").arg(language).arg(i + 1));
        }
        options.hide();
    }
};

TEST_F(Screenshots, FrenchAndEnglishWithoutClippedTexts) {
    // The longest texts: an independent with a long name and profession.
    files.settings = test::SampleSettings('D', files.Data());
    files.settings.identity[0] = "EXPERT-COMPTABLE ET COMMISSAIRE AUX COMPTES";
    files.settings.identity[1] = "inscrit au tableau de l'ordre";
    files.settings.versionCode = "D4001";  // state 3: the longest information line
    Affiliated();
    ASSERT_EQ(Start(), StartupEnd::Completed);
    ASSERT_EQ(ctx.programState, 3);
    ASSERT_TRUE(ReadTaParameters(QUARNEL_BIN_DIR, ctx.ta));
    CheckEveryPage("fr");

    ctx.settings.language = 0;
    main->ApplyLanguage();
    ASSERT_EQ(main->Button(Command::Sortie).text(), "E&xit");
    CheckEveryPage("en");
}

}  // namespace
}  // namespace quarnel

namespace quarnel {
namespace {

TEST(ClippedTexts, ReportsWhatDoesNotFit) {
    QWidget window;
    auto* fits = new QLabel(QStringLiteral("Ok"), &window);
    fits->setObjectName("Fits");
    fits->setGeometry(0, 0, 200, 30);
    auto* narrow = new QLabel(QStringLiteral("Chemin de sauvegarde des certificats:"), &window);
    narrow->setObjectName("Narrow");
    narrow->setGeometry(0, 40, 60, 30);
    auto* button = new QPushButton(QStringLiteral("&Nouvelles clefs"), &window);
    button->setObjectName("Button");
    button->setGeometry(0, 80, 40, 30);
    window.resize(220, 120);
    window.show();
    const QStringList clipped = test::ClippedTexts(window);
    ASSERT_EQ(clipped.size(), 2);
    EXPECT_TRUE(clipped[0].startsWith("Narrow"));
    EXPECT_TRUE(clipped[1].startsWith("Button"));
}

}  // namespace
}  // namespace quarnel
