#include "config/about_tab.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/controls.h"
#include "core/ports/config_events.h"

namespace pagelark {

AboutTab::AboutTab(std::function<void()> changed, ConfigEvents& events, std::string productPage,
                   QWidget* parent)
    : QWidget(parent),
      changed_(std::move(changed)),
      events_(events),
      productPage_(std::move(productPage)) {
    auto* frame = MakeFrame("frmAbout", Q(AboutCaption()), this);
    auto* visit = MakeLabel("lblAbout1", Q(AboutVisitLine()), frame);
    auto* version = MakeLabel("lblAbout3", Q(AboutVersionLine()), frame);
    auto* tessaroButton = MakeButton("cmdTessaro", Q(VisitButtonCaption()), frame);
    // A request the operator may turn down for good, never a field that must be filled.
    auto* emailLabel = MakeLabel(
        "lblEMail", "News of new versions by e-mail? Your &e-mail address (optional):", frame);
    emailEdit_ = MakeBox("txtEMail", 255, frame);
    emailLabel->setBuddy(emailEdit_);
    privateCheck_ = MakeCheck("chkPrivate", "&Don't ask again", frame);
    privateCheck_->setToolTip(
        "No e-mail address, thank you: the window opens on the General tab from now on");

    auto* column = new QVBoxLayout(frame);
    column->addWidget(visit);
    column->addWidget(version);
    column->addWidget(tessaroButton, 0, Qt::AlignLeft);
    column->addStretch();
    column->addWidget(emailLabel);
    column->addWidget(emailEdit_);
    column->addWidget(privateCheck_);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(frame);

    connect(emailEdit_, &QLineEdit::textChanged, this, [this] { changed_(); });
    connect(privateCheck_, &QCheckBox::toggled, this, [this] { changed_(); });
    connect(tessaroButton, &QPushButton::clicked, this,
            [this] { events_.ShowInStage(productPage_); });
}

void AboutTab::Fill(const OptionFields& fields) {
    ShowStored(emailEdit_, fields.email);
    privateCheck_->setChecked(fields.dontUseEmail);
}

void AboutTab::Keep(OptionFields& fields) const {
    fields.email = StoredText(emailEdit_);
    fields.dontUseEmail = privateCheck_->isChecked();
}

}  // namespace pagelark
