#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "fake_ui.h"
#include "gui/settings/options_form.h"
#include "model/project.h"
#include "settings/settings.h"

using meshforge::GeneralOptions;
using meshforge::Project;
using meshforge::SettingsFile;
using meshforge::gui::TOptionsForm;
using meshforge::test::FakeUi;
namespace keys = meshforge::general_keys;

namespace {

// One dialog over a settings file in its own temporary folder.
struct Rig {
    QTemporaryDir dir;
    std::string iniPath;
    Project project;
    FakeUi ui;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<TOptionsForm> form;

    explicit Rig(const std::string& iniText = {}, const std::string& iniName = "Meshforge.ini") {
        iniPath = dir.path().toStdString() + "/" + iniName;
        if (!iniText.empty())
            std::ofstream(iniPath, std::ios::binary) << iniText;
        settings = std::make_unique<SettingsFile>(iniPath);
        form = std::make_unique<TOptionsForm>(*settings, project, ui);
    }
    template <class W> W* Get(const char* name) const {
        W* w = form->findChild<W*>(QString::fromLatin1(name));
        if (w == nullptr)
            qFatal("control %s missing", name);
        return w;
    }
    QCheckBox* Box(const char* name) const { return Get<QCheckBox>(name); }
    // What a later run would read.
    GeneralOptions Reread() const { return SettingsFile(iniPath).ReadGeneralOptions(); }
    QColor Swatch(const char* name) const {
        return Get<QFrame>(name)->palette().color(QPalette::Window);
    }
};

const char* const kGeneralBoxes[] = {"MakeSubDirCheckBox",       "CopyBmpCheckBox",
                                     "MipInfoCheckBox",          "MaxOnStartupCheckBox",
                                     "PlaySoundCheckBox",        "ShowBacksideCheckBox",
                                     "RandomPolyColorsCheckBox", "ToolTipsCheckBox",
                                     "NoCaptionCheckBox",        "GridCheckBox"};

} // namespace

class OptionsFormTest : public QObject {
    Q_OBJECT
  private slots:
    void defaultsWithoutSettingsFile() {
        Rig rig;
        QCOMPARE(rig.form->windowTitle(), QString("Options"));
        for (const char* name : kGeneralBoxes) {
            bool expected = QByteArray(name) == "PlaySoundCheckBox" ||
                            QByteArray(name) == "ShowBacksideCheckBox" ||
                            QByteArray(name) == "MaxOnStartupCheckBox";
            QVERIFY2(rig.Box(name)->isChecked() == expected, name);
        }
        for (const char* name :
             {"TrackFolderCheckBox", "AutoGPLCheckBox", "OverwriteCheckBox", "GPLParamCheckBox"})
            QVERIFY2(!rig.Box(name)->isChecked(), name);
        QVERIFY(rig.Get<QRadioButton>("MinimizeRadio")->isChecked());
        QCOMPARE(rig.Get<QSpinBox>("GridScaleSpinEdit")->value(), 1);
        QCOMPARE(rig.Get<QSpinBox>("GridSizeSpinEdit")->value(), 1);
        QCOMPARE(rig.Swatch("GridColorShape"), QColor(0, 0, 0));
        QVERIFY(rig.form->GridColorTriple() == (meshforge::ColorTriple{0, 0, 0}));
        QVERIFY(rig.form->General().MaxOnStartup);
        // Dependent controls start disabled, and reading alone creates no file.
        QVERIFY(!rig.Box("CopyBmpCheckBox")->isEnabled());
        QVERIFY(!rig.Get<QSpinBox>("GridScaleSpinEdit")->isEnabled());
        QVERIFY(!rig.Get<QPushButton>("GridColorButton")->isEnabled());
        QVERIFY(!std::filesystem::exists(rig.iniPath));
    }

    void storedValuesFillControls() {
        Rig rig("[General Options]\r\nGPLPath=C:\\GPL\\gpl.exe\r\nBMPPath=C:\\bmp\\\r\n"
                "RandomPolyColors=1\r\nMakeSubDir=1\r\nCopyBmp=1\r\nShowGrid=1\r\nGridScale=7\r\n"
                "GridSize=42\r\nGridColor=$000000FF\r\nPlaySound=0\r\nToolTips=1\r\n");
        QVERIFY(rig.Box("RandomPolyColorsCheckBox")->isChecked());
        QVERIFY(rig.Box("CopyBmpCheckBox")->isChecked() && rig.Box("CopyBmpCheckBox")->isEnabled());
        QVERIFY(!rig.Box("MipInfoCheckBox")->isChecked() &&
                rig.Box("MipInfoCheckBox")->isEnabled());
        QVERIFY(!rig.Box("PlaySoundCheckBox")->isChecked());
        QVERIFY(rig.Box("ToolTipsCheckBox")->isChecked());
        QCOMPARE(rig.Get<QLineEdit>("GPLPathEdit")->text(), QString("C:\\GPL\\gpl.exe"));
        QCOMPARE(rig.Get<QLineEdit>("BMPPathEdit")->text(), QString("C:\\bmp\\"));
        QCOMPARE(rig.Get<QSpinBox>("GridScaleSpinEdit")->value(), 7);
        QCOMPARE(rig.Get<QSpinBox>("GridSizeSpinEdit")->value(), 42);
        QVERIFY(rig.Get<QSpinBox>("GridSizeSpinEdit")->isEnabled());
        QCOMPARE(rig.Swatch("GridColorShape"), QColor(255, 0, 0));
        QVERIFY(rig.form->GridColorTriple() == (meshforge::ColorTriple{1, 0, 0}));
        QCOMPARE(rig.form->General().GridScale, 7);
        QVERIFY(rig.ui.messages.empty());
    }

    void makeSubDirOffDisablesButKeepsDependents() {
        Rig rig("[General Options]\r\nMakeSubDir=1\r\nCopyBmp=1\r\nMipInfo=1\r\n");
        rig.Box("MakeSubDirCheckBox")->click();
        for (const char* name : {"CopyBmpCheckBox", "MipInfoCheckBox"}) {
            QVERIFY2(!rig.Box(name)->isEnabled(), name);
            QVERIFY2(rig.Box(name)->isChecked(), name);
        }
        GeneralOptions stored = rig.Reread();
        QVERIFY(!stored.MakeSubDir && stored.CopyBmp && stored.MipInfo);
        QVERIFY(rig.form->General().CopyBmp);
        rig.Box("MakeSubDirCheckBox")->click();
        QVERIFY(rig.Box("CopyBmpCheckBox")->isEnabled() && rig.Box("MipInfoCheckBox")->isEnabled());
    }

    void everyGeneralControlIsWrittenAtOnce() {
        Rig rig;
        QSignalSpy hints(rig.form.get(), &TOptionsForm::ToolTipsToggled);
        rig.Box("MakeSubDirCheckBox")->click(); // so its dependents can be clicked
        for (const char* name : kGeneralBoxes)
            if (QByteArray(name) != "MakeSubDirCheckBox")
                rig.Box(name)->click();
        rig.Get<QSpinBox>("GridScaleSpinEdit")->setValue(20);
        rig.Get<QSpinBox>("GridSizeSpinEdit")->setValue(55);

        GeneralOptions stored = rig.Reread();
        QVERIFY(stored.MakeSubDir && stored.CopyBmp && stored.MipInfo && stored.RandomPolyColors &&
                stored.ToolTips && stored.NoCaption && stored.ShowGrid);
        QVERIFY(!stored.MaxOnStartup && !stored.PlaySound && !stored.ShowBackside);
        QCOMPARE(stored.GridScale, 20);
        QCOMPARE(stored.GridSize, 55);
        const GeneralOptions& live = rig.form->General();
        QVERIFY(live.ToolTips && !live.PlaySound && live.ShowGrid && live.CopyBmp);
        QCOMPARE(live.GridSize, 55);
        QCOMPARE(hints.count(), 1);
        QCOMPARE(hints.at(0).at(0).toBool(), true);
        // The grid controls follow the grid box both ways.
        QVERIFY(rig.Get<QPushButton>("GridColorButton")->isEnabled());
        rig.Box("GridCheckBox")->click();
        QVERIFY(!rig.Get<QSpinBox>("GridScaleSpinEdit")->isEnabled());
        QVERIFY(!rig.Reread().ShowGrid);
    }

    void browseWritesPathsAndRenamesMenus() {
        Rig rig;
        QSignalSpy viewer(rig.form.get(), &TOptionsForm::ViewerCaptionChanged);
        QSignalSpy user(rig.form.get(), &TOptionsForm::UserProgramCaptionChanged);
        rig.ui.openAnswers = {"C:\\GPL\\gpl.exe", "C:\\Tools\\VIEW3DO.EXE", "/opt/bin/mytool.exe",
                              "D:\\Archive\\walls\\brick.bmp"};
        for (const char* name :
             {"GPLBrowseButton", "ViewerBrowseButton", "UserBrowseButton", "BMPBrowseButton"})
            rig.Get<QPushButton>(name)->click();

        QCOMPARE(rig.ui.openDialogs.size(), std::size_t(4));
        QCOMPARE(rig.ui.openDialogs[3].Title,
                 std::string("Select any Bitmap File in Archive Directory"));
        GeneralOptions stored = rig.Reread();
        QCOMPARE(stored.GPLPath, std::string("C:\\GPL\\gpl.exe"));
        QCOMPARE(stored.ViewerPath, std::string("C:\\Tools\\VIEW3DO.EXE"));
        QCOMPARE(stored.UserPath, std::string("/opt/bin/mytool.exe"));
        QCOMPARE(stored.BMPPath, std::string("D:\\Archive\\walls\\"));
        QCOMPARE(rig.Get<QLineEdit>("BMPPathEdit")->text(), QString("D:\\Archive\\walls\\"));
        QCOMPARE(rig.form->General().UserPath, std::string("/opt/bin/mytool.exe"));
        QCOMPARE(viewer.count(), 1);
        QCOMPARE(viewer.at(0).at(0).toString(), QString("Start VIEW3DO"));
        QCOMPARE(user.at(0).at(0).toString(), QString("Start mytool"));

        // Cancelling changes nothing; typing is not stored either.
        rig.ui.openAnswers = {std::nullopt};
        rig.Get<QPushButton>("GPLBrowseButton")->click();
        QTest::keyClicks(rig.Get<QLineEdit>("ViewerPathEdit"), "xyz");
        QCOMPARE(rig.Get<QLineEdit>("GPLPathEdit")->text(), QString("C:\\GPL\\gpl.exe"));
        QCOMPARE(rig.Reread().ViewerPath, std::string("C:\\Tools\\VIEW3DO.EXE"));
        QCOMPARE(rig.form->General().ViewerPath, std::string("C:\\Tools\\VIEW3DO.EXE"));
        QCOMPARE(viewer.count(), 1);
    }

    void gridColourIsStoredAndRepaintsOnlyWithGeometry() {
        Rig rig("[General Options]\r\nShowGrid=1\r\nGridColor=$00336699\r\n");
        QSignalSpy repaint(rig.form.get(), &TOptionsForm::RepaintRequested);
        rig.ui.colorAnswers = {0x00FF0000u, std::nullopt};
        rig.Get<QPushButton>("GridColorButton")->click();
        QCOMPARE(rig.ui.colorInitials.at(0), 0x00336699u);
        QCOMPARE(rig.Reread().GridColor, std::string("clBlue"));
        QVERIFY(rig.form->GridColorTriple() == (meshforge::ColorTriple{0, 0, 1}));
        QCOMPARE(rig.Swatch("GridColorShape"), QColor(0, 0, 255));
        QCOMPARE(repaint.count(), 0);

        rig.project.GeometryShown = true;
        rig.Get<QPushButton>("GridColorButton")->click(); // cancelled
        QCOMPARE(rig.ui.colorInitials.at(1), 0x00FF0000u);
        QCOMPARE(repaint.count(), 0);
        QCOMPARE(rig.form->General().GridColor, std::string("clBlue"));
    }

    void repaintFollowsGeometryShownForGeneralControls() {
        Rig rig;
        QSignalSpy repaint(rig.form.get(), &TOptionsForm::RepaintRequested);
        auto poke = [&] {
            rig.Box("ShowBacksideCheckBox")->click();
            rig.Box("GridCheckBox")->click();
            rig.Get<QSpinBox>("GridScaleSpinEdit")->stepUp();
            rig.Get<QSpinBox>("GridSizeSpinEdit")->stepUp();
            rig.Box("PlaySoundCheckBox")->click(); // never repaints
        };
        poke();
        QCOMPARE(repaint.count(), 0);
        rig.project.GeometryShown = true;
        poke();
        QCOMPARE(repaint.count(), 4);
    }

    void projectColoursAndScrollBarsAlwaysRepaint() {
        Rig rig;
        QSignalSpy repaint(rig.form.get(), &TOptionsForm::RepaintRequested);
        rig.ui.colorAnswers = {0x000000FFu, 0x00FF00FFu, 0x00123456u, std::nullopt};
        rig.Get<QPushButton>("BackColorButton")->click();
        rig.Get<QPushButton>("VertexColorButton")->click();
        rig.Get<QPushButton>("SelVertexColorButton")->click();
        rig.Get<QPushButton>("BackColorButton")->click(); // cancelled
        const auto& o = rig.project.Options;
        QCOMPARE(rig.ui.colorInitials.at(0), 0x00FFFFFFu); // "clwhite"
        QCOMPARE(rig.ui.colorInitials.at(1), 0x00408000u);
        QCOMPARE(rig.ui.colorInitials.at(3), 0x000000FFu);
        QCOMPARE(o.BackgroundColor, std::string("clRed"));
        QVERIFY(o.BackgroundRgb == (meshforge::ColorTriple{1, 0, 0}));
        QCOMPARE(o.VertexColor, std::string("clFuchsia"));
        QVERIFY(o.VertexRgb == (meshforge::ColorTriple{1, 0, 1}));
        QCOMPARE(o.SelectedVertexColor, std::string("$00123456"));
        QCOMPARE(o.SelectedVertexRgb.R, 0x56 / 255.0f);
        QCOMPARE(rig.Swatch("SelVertexColorShape"), QColor(0x56, 0x34, 0x12));
        QCOMPARE(repaint.count(), 3);

        rig.Get<QScrollBar>("VertexSizeScrollBar")->setValue(12);
        rig.Get<QScrollBar>("AxisSizeScrollBar")->setValue(500);
        QCOMPARE(o.VertexDisplaySize, 12);
        QCOMPARE(o.AxisSize, 500);
        QCOMPARE(rig.Get<QLabel>("VertexSizeLabel")->text(), QString("Vertex Display Size: 12"));
        QCOMPARE(rig.Get<QLabel>("AxisSizeLabel")->text(), QString("Size of Axis symbol: 500"));
        QCOMPARE(repaint.count(), 5);
        QVERIFY(!std::filesystem::exists(rig.iniPath)); // project options stay out of the file
    }

    void everyShowingReflectsTheProject() {
        Rig rig;
        QSignalSpy repaint(rig.form.get(), &TOptionsForm::RepaintRequested);
        auto& o = rig.project.Options;
        o.VertexDisplaySize = 7;
        o.AxisSize = 250;
        meshforge::SetBackgroundColor(o, "clNavy");
        o.AdditionalGPLParams = "20:Personal Information:lastTrackSelection:monza";
        o.GPLParam = true;
        o.TrackFolder = "C:\\missing\\";
        o.MinimizeOnGPL = false;
        o.CloseOnGPL = true;
        rig.form->show();
        QCOMPARE(rig.Get<QRadioButton>("MinimizeRadio")->text(), QString("Minimize Meshforge"));
        QCOMPARE(rig.Get<QRadioButton>("CloseRadio")->text(),
                 QString("Close Meshforge and Restart after GPL"));
        QVERIFY(rig.Get<QRadioButton>("CloseRadio")->isChecked());
        QCOMPARE(rig.Get<QLabel>("VertexSizeLabel")->text(), QString("Vertex Display Size: 7"));
        QCOMPARE(rig.Get<QLabel>("AxisSizeLabel")->text(), QString("Size of Axis symbol: 250"));
        QCOMPARE(rig.Get<QScrollBar>("VertexSizeScrollBar")->value(), 7);
        QCOMPARE(rig.Get<QScrollBar>("AxisSizeScrollBar")->value(), 250);
        QCOMPARE(rig.Swatch("BackColorShape"), QColor(0, 0, 0x80));
        QVERIFY(rig.Get<QLineEdit>("GPLParamEdit")->isEnabled());
        QCOMPARE(rig.Get<QLineEdit>("GPLParamEdit")->text(),
                 QString::fromStdString(o.AdditionalGPLParams));
        QCOMPARE(rig.Get<QLineEdit>("TrackFolderEdit")->text(), QString("C:\\missing\\"));
        QCOMPARE(rig.form->focusWidget(), rig.Get<QPushButton>("OKButton"));
        QCOMPARE(repaint.count(), 0); // positioning the bars is no user change
        QCOMPARE(o.VertexDisplaySize, 7);

        // A project opened meanwhile (or a reset) shows up at the next showing.
        rig.form->hide();
        meshforge::ResetProject(rig.project);
        o.GPLParam = false;
        rig.form->show();
        QCOMPARE(rig.Get<QLabel>("VertexSizeLabel")->text(), QString("Vertex Display Size: 3"));
        QCOMPARE(rig.Get<QLineEdit>("GPLParamEdit")->text(), QString());
        QVERIFY(!rig.Get<QLineEdit>("GPLParamEdit")->isEnabled());
        QCOMPARE(rig.Swatch("BackColorShape"), QColor(255, 255, 255));
    }

    void trackFolderChain() {
        Rig rig;
        QTemporaryDir tracks;
        rig.form->show();
        auto enabled = [&](bool folder, bool autostart, bool radios) {
            return rig.Get<QLineEdit>("TrackFolderEdit")->isEnabled() == folder &&
                   rig.Get<QPushButton>("TrackFolderBrowseButton")->isEnabled() == folder &&
                   rig.Box("AutoGPLCheckBox")->isEnabled() == autostart &&
                   rig.Get<QRadioButton>("MinimizeRadio")->isEnabled() == radios &&
                   rig.Get<QRadioButton>("CloseRadio")->isEnabled() == radios;
        };
        QVERIFY(enabled(false, false, false));
        rig.Box("TrackFolderCheckBox")->click();
        QVERIFY(rig.project.Options.UseTrackFolder);
        QVERIFY(enabled(true, true, false));

        rig.ui.folderAnswers = {tracks.path().toStdString()};
        rig.Get<QPushButton>("TrackFolderBrowseButton")->click();
        QCOMPARE(rig.ui.folderTitles.at(0), std::string("Select GPL Track Folder"));
        QCOMPARE(rig.project.Options.TrackFolder, tracks.path().toStdString() + "/");
        QCOMPARE(rig.Get<QLineEdit>("TrackFolderEdit")->text(), tracks.path() + "/");

        rig.Box("AutoGPLCheckBox")->click();
        QVERIFY(rig.project.Options.AutoGPL);
        QVERIFY(rig.ui.messages.empty());
        QVERIFY(enabled(true, true, true));
        rig.Get<QRadioButton>("CloseRadio")->click();
        QVERIFY(rig.project.Options.CloseOnGPL && !rig.project.Options.MinimizeOnGPL);

        rig.Box("TrackFolderCheckBox")->click();
        QVERIFY(enabled(false, false, false));
        QVERIFY(rig.Box("AutoGPLCheckBox")->isChecked()); // disabled, not cleared
        rig.Box("TrackFolderCheckBox")->click();
        QVERIFY(enabled(true, true, true));

        // At the next showing Autostart needs the folder to exist.
        rig.form->hide();
        tracks.remove();
        rig.form->show();
        QVERIFY(enabled(true, false, false));
    }

    void autostartRefusesAnInvalidTrackFolder() {
        Rig rig;
        rig.form->show();
        rig.Box("TrackFolderCheckBox")->click();
        for (const std::string& folder : {std::string(), rig.dir.path().toStdString() + "/no/"}) {
            rig.project.Options.TrackFolder = folder;
            rig.ui.messages.clear();
            rig.Box("AutoGPLCheckBox")->click();
            QCOMPARE(rig.ui.messages, std::vector<std::string>{"Invalid Trackfolder !"});
            QVERIFY(!rig.Box("AutoGPLCheckBox")->isChecked());
            QVERIFY(!rig.project.Options.AutoGPL);
            QVERIFY(!rig.Get<QRadioButton>("MinimizeRadio")->isEnabled());
        }
    }

    void gplParametersAreTakenOnOk() {
        Rig rig;
        rig.form->show();
        auto* edit = rig.Get<QLineEdit>("GPLParamEdit");
        QVERIFY(!edit->isEnabled());
        rig.Box("GPLParamCheckBox")->click();
        QVERIFY(edit->isEnabled() && rig.project.Options.GPLParam);
        rig.Box("OverwriteCheckBox")->click();
        QVERIFY(rig.project.Options.Overwrite);
        QTest::keyClicks(edit, "20:Personal Information");
        QCOMPARE(rig.project.Options.AdditionalGPLParams, std::string());
        rig.Get<QPushButton>("OKButton")->click();
        QCOMPARE(rig.project.Options.AdditionalGPLParams, std::string("20:Personal Information"));
        QCOMPARE(rig.form->result(), int(QDialog::Accepted));
        QVERIFY(!rig.form->isVisible());
        rig.Box("GPLParamCheckBox")->click();
        QVERIFY(!edit->isEnabled());
    }

    void failedWriteIsReportedAndTheNewStateKept() {
        Rig rig({}, "no-such-folder/Meshforge.ini");
        rig.Box("PlaySoundCheckBox")->click();
        QCOMPARE(rig.ui.messages.size(), std::size_t(1));
        QVERIFY(rig.ui.messages[0].find("Meshforge.ini") != std::string::npos);
        QVERIFY(!rig.Box("PlaySoundCheckBox")->isChecked());
        QVERIFY(!rig.form->General().PlaySound);
        rig.ui.openAnswers = {"C:\\GPL\\gpl.exe"};
        rig.Get<QPushButton>("GPLBrowseButton")->click();
        QCOMPARE(rig.ui.messages.size(), std::size_t(2));
        QCOMPARE(rig.Get<QLineEdit>("GPLPathEdit")->text(), QString("C:\\GPL\\gpl.exe"));
    }
};

QTEST_MAIN(OptionsFormTest)
#include "options_form_test.moc"
