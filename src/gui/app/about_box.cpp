#include "gui/app/about_box.h"

#include "app/system_info.h"
#include "model/project.h"
#include "ui/ui.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QStyle>
#include <QVBoxLayout>

namespace meshforge::gui {

namespace {

QLabel* MakeLabel(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Looks like a link: blue, underlined, the hand cursor while the mouse is over it.
void MakeLinkLike(QLabel* label) {
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
}

} // namespace

TAboutBox::TAboutBox(meshforge::Ui& ui, std::function<ViewProbe()> viewProbe, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui_(ui), viewProbe_(std::move(viewProbe)) {
    setObjectName("AboutBox");
    setWindowTitle("About");

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    Image1->setPixmap(icon.pixmap(48, 48));

    ProgNameLabel =
        MakeLabel("ProgNameLabel",
                  QString("%1 %2").arg(meshforge::kProgramName, meshforge::kProgramVersion), this);
    QFont big = ProgNameLabel->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    ProgNameLabel->setFont(big);
    CWELabel = MakeLabel("CWELabel", "Built by the Meshforge developers", this);
    WebsiteLabel = MakeLabel("WebsiteLabel", "Website:", this);
    URLLabel = MakeLabel(
        "URLLabel",
        QString::fromUtf8(meshforge::kWebsiteUrl.data(), qsizetype(meshforge::kWebsiteUrl.size())),
        this);
    CommentsLabel = MakeLabel("CommentsLabel", "Comments & Suggestions to:", this);
    MailLabel = MakeLabel("MailLabel",
                          QString::fromUtf8(meshforge::kContactMail.data(),
                                            qsizetype(meshforge::kContactMail.size())),
                          this);
    SysLabel = MakeLabel("SysLabel", "System Information:", this);
    MakeLinkLike(URLLabel);
    MakeLinkLike(MailLabel);
    URLLabel->installEventFilter(this);
    MailLabel->installEventFilter(this);

    SysMemo = new QPlainTextEdit(this);
    SysMemo->setObjectName("SysMemo");
    SysMemo->setReadOnly(true);
    SysMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    SysMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    SysMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    SysMemo->setMinimumSize(420, 220);

    auto* head = new QGridLayout;
    head->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    head->addWidget(ProgNameLabel, 0, 1);
    head->addWidget(CWELabel, 1, 1);
    head->setColumnStretch(1, 1);

    auto* links = new QGridLayout;
    links->addWidget(WebsiteLabel, 0, 0);
    links->addWidget(URLLabel, 0, 1);
    links->addWidget(CommentsLabel, 1, 0);
    links->addWidget(MailLabel, 1, 1);
    links->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addSpacing(8);
    layout->addLayout(links);
    layout->addSpacing(8);
    layout->addWidget(SysLabel);
    layout->addWidget(SysMemo, 1);
}

void TAboutBox::URLLabelClick() {
    ui_.OpenDocument(URLLabel->text().toStdString());
}

void TAboutBox::MailLabelClick() {
    ui_.OpenDocument(meshforge::FeedbackMailUrl(MailLabel->text().toStdString()));
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window restored by the window system is not a new showing.
    if (!event->spontaneous())
        FormShow();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == URLLabel) {
            URLLabelClick();
            return true;
        }
        if (watched == MailLabel) {
            MailLabelClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::FormShow() {
    ViewProbe view = viewProbe_ ? viewProbe_() : ViewProbe{};
    QStringList lines;
    for (const std::string& line : meshforge::SystemInfoLines(GatherSystemInfo(view)))
        lines << QString::fromStdString(line);
    SysMemo->appendPlainText(lines.join('\n'));
}

} // namespace meshforge::gui
