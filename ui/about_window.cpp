// The about window: the program's name and version.
#include "ui/about_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/help_key.h"
#include "ui/program_icon.h"

namespace qm {

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(48, 48));
    labName = new QLabel(QString::fromLatin1(kApplicationTitle), this);
    labName->setObjectName(QStringLiteral("labName"));
    QFont big = labName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    labName->setFont(big);
    labVersion = new QLabel(QStringLiteral("Version ") + QString::fromLatin1(kVersionText), this);
    labVersion->setObjectName(QStringLiteral("labVersion"));
    labPurpose = new QLabel(QStringLiteral("Makes web pages smaller: HTML, SSI, PHP, ASP, CSS and ColdFusion pages\n"
                                           "keep their look in the browser and lose bytes they do not need."),
        this);
    labPurpose->setObjectName(QStringLiteral("labPurpose"));

    butOK = new QPushButton(QStringLiteral("OK"), this);
    butOK->setObjectName(QStringLiteral("butOK"));
    butOK->setDefault(true);
    butHelp = new QPushButton(QStringLiteral("Help"), this);
    butHelp->setObjectName(QStringLiteral("butHelp"));
    butHelp->setAutoDefault(false);
    connect(butOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(butHelp, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });
    AddHelpKey(this, [this] { emit helpRequested(kHelpContext); });

    auto* text = new QVBoxLayout;
    text->addWidget(labName);
    text->addWidget(labVersion);
    text->addSpacing(8);
    text->addWidget(labPurpose);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(butOK);
    buttons->addWidget(butHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

} // namespace qm
