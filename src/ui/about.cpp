#include "ui/about.h"

#include "ui/iconlibrary.h"
#include "ui/scangames.h"
#include "ui/transparency.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TFormAbout::TFormAbout(const SettingsModel &settingsModel, QWidget *parent) : QDialog(parent), settings(settingsModel)
{
    setWindowTitle(QStringLiteral("About"));
    setWindowIcon(IconLibrary::appIcon());
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *picture = new QLabel(this);
    picture->setPixmap(IconLibrary::appIcon().pixmap(48, 48));
    top->addWidget(picture);
    auto *name = new QLabel(QStringLiteral("<b>Vantor</b><br>Version %1<br><a href=\"%2\">%2</a>")
                                .arg(QStringLiteral(VANTOR_VERSION), TForm1::homePageAddress()),
                            this);
    name->setOpenExternalLinks(true);
    top->addWidget(name, 1);
    layout->addLayout(top);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::hide);
    layout->addWidget(buttons);
}

void TFormAbout::showEvent(QShowEvent *event)
{
    applyTransparency(this, settings);
    QDialog::showEvent(event);
}
