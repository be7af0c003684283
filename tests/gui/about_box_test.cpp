#include "app/system_info.h"
#include "fake_ui.h"
#include "gui/app/about_box.h"
#include "keep_gl_driver.h"
#include "wait.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

using namespace meshforge::gui;

namespace {

constexpr int kBlockLines = 37;

QStringList MemoLines(const TAboutBox& box) {
    return box.SysMemo->toPlainText().split('\n');
}

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

} // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT
    meshforge::test::FakeUi ui;
    ViewProbe probe{640, 480, "Fake Renderer", "Fake Vendor", "2.1 Fake", "GL_ARB_one GL_ARB_two"};
    int probes = 0;

    std::unique_ptr<TAboutBox> MakeBox() {
        return std::make_unique<TAboutBox>(ui, [this] {
            ++probes;
            return probe;
        });
    }

  private slots:
    void init() {
        ui = {};
        probe.Width = 640;
        probe.Height = 480;
        probes = 0;
    }
    void cleanup() { ui.Verify(); }

    void controlsAndTexts() {
        auto box = MakeBox();
        QCOMPARE(box->windowTitle(), QString("About"));
        QCOMPARE(box->ProgNameLabel->text(), QString("Meshforge v1.25"));
        QCOMPARE(box->WebsiteLabel->text(), QString("Website:"));
        QCOMPARE(box->URLLabel->text(), Q(meshforge::kWebsiteUrl));
        QCOMPARE(box->CommentsLabel->text(), QString("Comments & Suggestions to:"));
        QCOMPARE(box->MailLabel->text(), Q(meshforge::kContactMail));
        QCOMPARE(box->SysLabel->text(), QString("System Information:"));
        QVERIFY(!box->CWELabel->text().isEmpty());
        QVERIFY(!box->Image1->pixmap().isNull());
        QVERIFY(box->findChildren<QPushButton*>().isEmpty()); // closed from the title bar
        QVERIFY(box->SysMemo->isReadOnly());
        QCOMPARE(box->SysMemo->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(box->SysMemo->toPlainText().isEmpty());
        QCOMPARE(probes, 0); // nothing is gathered before the box is shown
        for (QLabel* link : {box->URLLabel, box->MailLabel}) {
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(link->font().underline());
            QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        }
    }

    void eachShowingAppendsABlockWithTheCurrentViewSize() {
        auto box = MakeBox();
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get(), kGuiWaitMs));
        QStringList first = MemoLines(*box);
        QCOMPARE(first.size(), kBlockLines);
        QCOMPARE(first[10], QString("640/480"));
        box->hide();

        probe.Width = 1024;
        probe.Height = 700;
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get(), kGuiWaitMs));
        QStringList both = MemoLines(*box);
        QCOMPARE(both.size(), 2 * kBlockLines);
        QCOMPARE(both.mid(0, kBlockLines), first); // earlier lines stay as they were
        QCOMPARE(both[kBlockLines], QString("Operating System:"));
        QCOMPARE(both[kBlockLines + 10], QString("1024/700"));
        QCOMPARE(probes, 2);
        box->hide();
    }

    void blockHeadingsAndGatheredValues() {
        auto box = MakeBox();
        box->show();
        QStringList l = MemoLines(*box);
        QCOMPARE(l.size(), kBlockLines);
        const std::pair<int, const char*> headings[] = {
            {0, "Operating System:"},
            {3, "Processor:"},
            {6, "RAM:"},
            {9, "Current Dimensions of View Window:"},
            {12, "Renderer:"},
            {15, "Vendor:"},
            {18, "Version:"},
            {21, "OpenGL Version:"},
            {28, "Supported OpenGL Extensions:"},
            {31, "OpenGL Utilities Version:"},
        };
        for (auto [index, text] : headings)
            QCOMPARE(l[index], QString(text));
        QCOMPARE(l[13], QString("Fake Renderer"));
        QCOMPARE(l[16], QString("Fake Vendor"));
        QCOMPARE(l[19], QString("2.1 Fake"));
        QCOMPARE(l[29], QString("GL_ARB_one GL_ARB_two"));

        // What this Linux system itself reports.
        QVERIFY(QRegularExpression(R"(^.+, Version \d+\.\d{2,}$)").match(l[1]).hasMatch());
        QVERIFY(!l[4].isEmpty());
        QVERIFY2(
            QRegularExpression(R"(^\d{1,3}(,\d{3})* KB, of which \d{1,3}% are currently used$)")
                .match(l[7])
                .hasMatch(),
            qPrintable(l[7]));
        for (int lib : {22, 32}) {
            QVERIFY2(QRegularExpression(R"(^Filename = lib\w+\.so$)").match(l[lib]).hasMatch(),
                     qPrintable(l[lib]));
            QVERIFY2(
                QRegularExpression(R"(^FileVersion = \d+(\.\d+)*$)").match(l[lib + 1]).hasMatch(),
                qPrintable(l[lib + 1]));
        }
        QVERIFY2(l[32].startsWith("Filename = libGLU"), qPrintable(l[32]));
        QVERIFY2(QRegularExpression(R"(^ProductName = OpenGL Utility Library \d+\.\d+)")
                     .match(l[34])
                     .hasMatch(),
                 qPrintable(l[34]));
        box->hide();
    }

    void linkClicksOpenTheWebPageAndTheMailProgram() {
        auto box = MakeBox();
        box->show();
        QTest::mouseClick(box->URLLabel, Qt::LeftButton);
        QTest::mouseClick(box->MailLabel, Qt::LeftButton);
        QTest::mouseClick(box->WebsiteLabel, Qt::LeftButton); // not a link
        QTest::mouseClick(box->URLLabel, Qt::RightButton);
        QCOMPARE(ui.opened,
                 (std::vector<std::string>{std::string(meshforge::kWebsiteUrl),
                                           "mailto:" + std::string(meshforge::kContactMail) +
                                               "?subject=About%20Meshforge%20v1.25"}));
        box->hide();
    }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
