#include "dialogs/frmAbout.h"

#include "core/Version.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace twl {

namespace {

QLabel* AddLabel(QVBoxLayout* layout, const char* name, const QString& text)
{
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    layout->addWidget(label);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Vantry's Tarnwell"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    QLabel* title = AddLabel(layout, "lblTitle", QStringLiteral("Vantry's Tarnwell"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);

    AddLabel(layout,
             "lblVersion",
             QStringLiteral("Version %1.%2.%3")
                 .arg(VersionMajor)
                 .arg(VersionMinor)
                 .arg(VersionRevision));
    AddLabel(layout,
             "lblDescription",
             QStringLiteral("An editor for the bots of Quake III Arena: their characteristics, "
                            "weights, chat lines and files."));
    AddLabel(layout,
             "lblDisclaimer",
             QStringLiteral("Quake III Arena is a trademark of id Software. Tarnwell is not made, "
                            "endorsed or supported by id Software. It comes without any warranty; "
                            "keep copies of the bot files you care about."));
    AddLabel(layout,
             "lblCredits",
             QStringLiteral("Built with Qt (The Qt Company, LGPL 3), zlib (Jean-loup Gailly and "
                            "Mark Adler, zlib licence) and stb_image (Sean Barrett, public "
                            "domain)."));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace twl
