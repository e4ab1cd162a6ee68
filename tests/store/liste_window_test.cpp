// SPDX-License-Identifier: GPL-3.0-or-later
// The correspondents window offscreen, opened from the main window: filter,
// sort and key column, its buttons' rules, remarks, deletion.

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>

#include "messages/windows/form_redac.h"
#include "shell_fixture.h"
#include "store/remarks.h"
#include "store/texts.h"
#include "store/windows/form_liste.h"

namespace quarnel {
namespace {

using test::Child;
using test::Click;
using test::Type;

Record Correspondent(char category, std::vector<std::string> texts, const std::string& number) {
    Record r = test::CorrespondentRecord(category, number);
    std::copy(texts.begin(), texts.end(), r.begin());
    return r;
}

class ListWindow : public test::ShellFixture {
  protected:
    /// The window on the list of `category`, as the main window's menu opens it.
    ui::FormListe& Open(char category) {
        const char* entry = category == 'F'   ? "MenuFirmes"
                            : category == 'D' ? "MenuIndependants"
                                              : "MenuPrives";
        main->findChild<QAction*>(entry)->trigger();
        ui::FormListe& liste = *shell->Windows().liste;
        QApplication::setActiveWindow(&liste);
        return liste;
    }
    QTableView& Grid() { return Child<QTableView>(*shell->Windows().liste, "grille"); }
    /// The cells of one column, top to bottom.
    QStringList Column(int column) {
        QStringList cells;
        for (int row = 0; row < Grid().model()->rowCount(); ++row)
            cells << Grid().model()->index(row, column).data().toString();
        return cells;
    }
    int Columns() { return Grid().model()->columnCount(); }
    bool HeaderBold(int column) {
        return Grid()
            .model()
            ->headerData(column, Qt::Horizontal, Qt::FontRole)
            .value<QFont>()
            .bold();
    }
    bool NothingSelected() { return Grid().selectionModel()->selectedIndexes().isEmpty(); }
    void PressHeader(int column) {
        QHeaderView& header = *Grid().horizontalHeader();
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                          QPoint(header.sectionViewportPosition(column) + 4, 4));
    }
    bool Enabled(const char* button) { return Child(*shell->Windows().liste, button).isEnabled(); }
    QString Tip(const char* button) { return Child(*shell->Windows().liste, button).toolTip(); }
};

TEST_F(ListWindow, FilterSortKeyColumnAndButtons) {
    Affiliated();
    files.WriteList("QuarnelTitF.dat",
                    {Correspondent('F', {"Beta", "-", "DURAND", "marc"}, "1F400000003"),
                     Correspondent('F', {"alpha", "-", "MARTIN", "jeanne"}, "1F400000001"),
                     Correspondent('F', {"\xC9toile", "-", "PETIT", "jean"}, "1F400000004"),
                     Correspondent('F', {"ALPHA2", "-", "LEROY", "paul"}, "1F400000002")});
    files.WriteList("QuarnelTitA.dat", {Correspondent('A', {"BLANC"}, "1F400000009")});
    ASSERT_EQ(Start(), StartupEnd::Completed);
    ui::FormListe& liste = Open('F');
    EXPECT_EQ(liste.windowTitle(), "Liste des correspondants employés");
    EXPECT_EQ(Columns(), 10);
    // Case-insensitive, in the user's collation: É sorts with E.
    EXPECT_EQ(Column(0), (QStringList{"alpha", "ALPHA2", "Beta", "Étoile"}));
    EXPECT_EQ(Column(9), QStringList(4, "x")) << "the affiliation date line";
    EXPECT_TRUE(Enabled("BitBtnListe")) << "4 of 5 records shown";
    EXPECT_EQ(ctx.messages.recipientRecord[8], "1F400000001");
    EXPECT_EQ(ctx.messages.recipientCategory, 'F');

    // The filter is forced to upper case here and compares exactly.
    Type(liste, "EditFiltre", "al");
    EXPECT_EQ(Child<QLineEdit>(liste, "EditFiltre").text(), "AL");
    EXPECT_EQ(Column(0), QStringList{"ALPHA2"});
    Type(liste, "EditFiltre", "Z");
    EXPECT_EQ(Column(0), QStringList{""}) << "one empty row";
    EXPECT_TRUE(NothingSelected());
    EXPECT_FALSE(Child<QGroupBox>(liste, "GroupBoxRemarque").isEnabled());
    for (const char* b : {"BitBtnCorrespondre", "BitBtnSupprimer", "BitBtnAJour"}) {
        EXPECT_FALSE(Enabled(b)) << b;
        EXPECT_EQ(Tip(b), "Aucun correspondant n'est affiché.");
    }

    // The affiliation column: filter emptied, 11 upper-case characters.
    PressHeader(8);
    EXPECT_EQ(Child<QLineEdit>(liste, "EditFiltre").text(), "");
    EXPECT_EQ(Column(8), (QStringList{"1F400000001", "1F400000002", "1F400000003", "1F400000004"}));
    Type(liste, "EditFiltre", "1f40000000299");
    EXPECT_EQ(Child<QLineEdit>(liste, "EditFiltre").text(), "1F400000002");
    EXPECT_EQ(Column(2), QStringList{"LEROY"});
    EXPECT_TRUE(HeaderBold(8));
    EXPECT_FALSE(HeaderBold(0));
    // First names: lower case, no limit.
    PressHeader(3);
    Type(liste, "EditFiltre", "JEAN");
    EXPECT_EQ(Column(3), (QStringList{"jean", "jeanne"}));

    // Choosing a row makes it the correspondent; a remark edited holds the
    // actions back until it is saved or left.
    Grid().selectRow(1);
    EXPECT_EQ(ctx.messages.recipientRecord[8], "1F400000001");
    Type(liste, "EditRemarque", "rencontré à Lyon");
    for (const char* b : {"BitBtnListe", "BitBtnCorrespondre", "BitBtnSupprimer", "BitBtnAJour"}) {
        EXPECT_FALSE(Enabled(b)) << b;
        EXPECT_EQ(Tip(b), "Sauvez la remarque, ou quittez-la pour l'abandonner.");
    }
    EXPECT_TRUE(Enabled("BitBtnRemarque"));
    Click(liste, "BitBtnRemarque");
    EXPECT_TRUE(Enabled("BitBtnCorrespondre"));
    EXPECT_FALSE(Enabled("BitBtnRemarque"));
    Remarks onDisk;
    ASSERT_EQ(LoadRemarks(files.Data(), onDisk), RemarksLoad::Loaded);
    EXPECT_EQ(onDisk.Get('F', "1F400000001"), "rencontr\xE9 \xE0 Lyon");
    RecordList list;
    ASSERT_TRUE(LoadRecordList(files / "QuarnelTitF.dat", list));
    EXPECT_EQ(list[1][12], "x") << "the record stays as delivered";

    Type(liste, "EditRemarque", "brouillon");
    Child<QLineEdit>(liste, "EditFiltre").setFocus();  // leaves the box
    EXPECT_EQ(Child<QLineEdit>(liste, "EditRemarque").text(), "rencontré à Lyon");
    EXPECT_TRUE(Enabled("BitBtnCorrespondre"));
    Grid().selectRow(0);
    EXPECT_EQ(Child<QLineEdit>(liste, "EditRemarque").text(), "");

    // A key reply wrote the list behind the window: no row stands for a
    // record gone.
    ASSERT_EQ(StoreCorrespondent(ctx.correspondents, 'F',
                                 Correspondent('F', {"Beta", "-", "DURAND", "marc"}, "1F400000003"),
                                 files.Data(), {}),
              SaveResult::Saved);
    liste.ListChanged('F');
    EXPECT_EQ(Column(3), (QStringList{"jean", "jeanne"}));
    Grid().selectRow(0);
    EXPECT_EQ(ctx.messages.recipientRecord[8], "1F400000004");

    // Correspondre, or a double click on the row: the kinds of message; the
    // composer, in rich mode, for the chosen correspondent.
    auto& kinds = Child<QMenu>(liste, "PopupMenuMsg");
    const QRect row = Grid().visualRect(Grid().model()->index(0, 1));
    // A person's double click: a press and release, then the double click.
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_TRUE(kinds.isVisible());
    kinds.close();
    runner.Once("FormRedac", [&](QDialog& redac) {
        EXPECT_FALSE(liste.isVisible());
        EXPECT_TRUE(static_cast<ui::FormRedac&>(redac).Rich());
        EXPECT_EQ(Child<QLabel>(redac, "LabelDest").text(),
                  "Message destiné au correspondant non enregistré, \u00C9toile, à l'attention de "
                  "PETIT jean");
        redac.reject();
    });
    kinds.findChild<QAction*>("MenuTexteFormate")->trigger();
    EXPECT_EQ(runner.Runs(), QStringList{"FormRedac"});
    EXPECT_EQ(ctx.messages.recipientRecord[3], "jean");
    EXPECT_FALSE(ctx.busy);

    // Opened again: key column 0, no filter, and the other list's caption.
    Open('A');
    EXPECT_EQ(liste.windowTitle(), "Liste des correspondants particuliers");
    EXPECT_EQ(Columns(), 8);
    EXPECT_EQ(Column(0), QStringList{"BLANC"});
    EXPECT_TRUE(HeaderBold(0));
}

TEST_F(ListWindow, DeletingTakesTheRemarkAlongAndTheLastOneLeavesNothingToOpen) {
    Affiliated();
    files.WriteList("QuarnelTitA.dat", {Correspondent('A', {"BLANC"}, "1F400000009")});
    files.WriteList("QuarnelTitF.dat", {Correspondent('F', {"ACME"}, "1F400000001")});
    files.WriteList(kRemarksFileName,
                    {{"A", "1F400000009", "voisin"}, {"F", "1F400000001", "client"}});
    ASSERT_EQ(Start(), StartupEnd::Completed);
    ui::FormListe& liste = Open('A');
    EXPECT_EQ(Child<QLineEdit>(liste, "EditRemarque").text(), "voisin");
    boxes.Answer(ui::kCancel);
    Click(liste, "BitBtnSupprimer");
    EXPECT_EQ(ctx.correspondents.a.size(), 1u);
    boxes.Answer(ui::kOk);
    Click(liste, "BitBtnSupprimer");
    EXPECT_EQ(boxes.Texts(),
              QStringList(2,
                          "Les données du correspondant BLANC x (affiliation 1F400000009) "
                          "vont être effacées."));
    EXPECT_TRUE(ctx.correspondents.a.empty());
    EXPECT_TRUE(ctx.messages.recipientRecord.empty());
    RecordList list{{"stale"}};
    ASSERT_TRUE(LoadRecordList(files / "QuarnelTitA.dat", list));
    EXPECT_EQ(list, RecordList{{"stale"}}) << "the file holds no record";
    Remarks onDisk;
    ASSERT_EQ(LoadRemarks(files.Data(), onDisk), RemarksLoad::Loaded);
    EXPECT_EQ(onDisk.Get('A', "1F400000009"), "");
    EXPECT_EQ(onDisk.Get('F', "1F400000001"), "client");

    // The one record left is all there is: nothing more to list.
    Open('F');
    EXPECT_FALSE(Enabled("BitBtnListe"));
    EXPECT_EQ(Tip("BitBtnListe"), "Tous les correspondants sont déjà affichés.");
    Click(liste, "BitBtnSupprimer");
    EXPECT_TRUE(main->Button(Command::Correspondents).isEnabled()) << "until Quitter";
    Click(liste, "BitBtnQuitter");
    EXPECT_FALSE(liste.isVisible());
    EXPECT_EQ(Grid().model()->rowCount(), 0) << "closed, the window holds no rows";
    EXPECT_FALSE(main->Button(Command::Correspondents).isEnabled());
}

TEST_F(ListWindow, ADamagedRemarksFileIsReportedAndTheListsStay) {
    Affiliated();
    files.WriteList("QuarnelTitD.dat", {Correspondent('D', {"AVOCAT"}, "1F400000001")});
    files.WriteLines(kRemarksFileName, {"not a record list"});
    ASSERT_EQ(Start(), StartupEnd::Completed);
    ui::FormListe& liste = Open('D');
    EXPECT_EQ(boxes.Texts(), QStringList{"Le fichier QuarnelTitR.dat est altéré."});
    EXPECT_EQ(Column(0), QStringList{"AVOCAT"});
    Type(liste, "EditRemarque", "associé");
    Click(liste, "BitBtnRemarque");
    // The damaged file was kept aside, never written over.
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(files.Data())) {
        if (entry.path().filename().string().rfind("QuarnelTitR.dat.damaged-", 0) == 0) ++kept;
    }
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(liste.RemarksShown().Get('D', "1F400000001"), "associ\xE9");
}

}  // namespace
}  // namespace quarnel
