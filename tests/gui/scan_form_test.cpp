// The Scan DXF dialog: captions from the scan, one choice over three groups, OK's refusal.
#include "fake_ui.h"
#include "gui/io/scan_form.h"

#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace meshforge;
using meshforge::gui::TScanForm;
using meshforge::test::FakeUi;

class ScanFormTest : public QObject {
    Q_OBJECT

  private slots:
    void captionsAndChoicesFollowTheScan() {
        FakeUi ui;
        TScanForm form(ui);
        QVERIFY(!form.PRadioButton->isChecked() && !form.LRadioButton->isChecked());
        form.ShowScan("Scanning file 'lines.dxf'", {0, 0, 3, 0});
        QCOMPARE(form.windowTitle(), QString("Scanning file 'lines.dxf'"));
        QCOMPARE(form.LRadioButton->text(), QString("3 LINE objects in DXF"));
        QVERIFY(form.LRadioButton->isEnabled());
        for (QRadioButton* r : {form.PRadioButton, form.VRadioButton, form.FRadioButton})
            QVERIFY(!r->isEnabled());
        QCOMPARE(form.PRadioButton->text(), QString("0 POINT objects in DXF"));
        QCOMPARE(form.FRadioButton->text(), QString("0 3DFACE objects in DXF"));
    }

    void okNeedsAChoiceAndRunsTheChosenImport() {
        FakeUi ui;
        TScanForm form(ui);
        std::vector<TScanForm::Kind> imported;
        bool succeed = false;
        form.SetImporter([&](TScanForm::Kind k) {
            imported.push_back(k);
            return succeed;
        });
        form.ShowScan("Scanning file 'all.dxf'", {2, 5, 3, 4});
        form.show();
        form.OKButton->click();
        QCOMPARE(ui.messages, std::vector<std::string>{"Select objects to import!"});
        QVERIFY(form.isVisible());

        // The buttons of different groups still exclude each other.
        QTest::mouseClick(form.VRadioButton, Qt::LeftButton);
        QTest::mouseClick(form.FRadioButton, Qt::LeftButton);
        QVERIFY(form.FRadioButton->isChecked() && !form.VRadioButton->isChecked());
        form.OKButton->click(); // the import fails: the dialog stays open
        QVERIFY(form.isVisible());
        succeed = true;
        form.OKButton->click();
        QVERIFY(!form.isVisible());
        QCOMPARE(imported,
                 (std::vector<TScanForm::Kind>{TScanForm::Kind::Face, TScanForm::Kind::Face}));

        // A choice whose kind is absent in the next file is dropped; a present one stays.
        form.ShowScan("Scanning file 'next.dxf'", {1, 0, 0, 7});
        QVERIFY(form.FRadioButton->isChecked());
        form.ShowScan("Scanning file 'last.dxf'", {1, 0, 0, 0});
        QVERIFY(!form.FRadioButton->isChecked());
    }
};

QTEST_MAIN(ScanFormTest)
#include "scan_form_test.moc"
