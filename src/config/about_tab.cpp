#include "config/about_tab.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/controls.h"
#include "core/ports/config_events.h"
#include "document/product.h"

namespace pagelark {

AboutTab::AboutTab(std::function<void()> changed, ConfigEvents& events, QWidget* parent)
    : QWidget(parent), changed_(std::move(changed)), events_(events) {
    auto* frame = MakeFrame("frmAbout", Q(AboutCaption()), this);
    auto* visit = MakeLabel("lblAbout1", Q(AboutVisitLine()), frame);
    auto* version = MakeLabel("lblAbout3", Q(AboutVersionLine()), frame);
    auto* cmdTessaro = MakeButton("cmdTessaro", Q(VisitButtonCaption()), frame);
    auto* lblEMail = MakeLabel("lblEMail", "Please, fill your &e-mail address:", frame);
    txtEMail_ = MakeBox("txtEMail", 255, frame);
    lblEMail->setBuddy(txtEMail_);
    chkPrivate_ = MakeCheck(
        "chkPrivate", "&Check this if you don't want to receive product announcements by e-mail",
        frame);

    auto* column = new QVBoxLayout(frame);
    column->addWidget(visit);
    column->addWidget(version);
    column->addWidget(cmdTessaro, 0, Qt::AlignLeft);
    column->addStretch();
    column->addWidget(lblEMail);
    column->addWidget(txtEMail_);
    column->addWidget(chkPrivate_);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(frame);

    connect(txtEMail_, &QLineEdit::textChanged, this, [this] { changed_(); });
    connect(chkPrivate_, &QCheckBox::toggled, this, [this] { changed_(); });
    connect(cmdTessaro, &QPushButton::clicked, this,
            [this] { events_.ShowInStage(std::string(kProductWebAddress)); });
}

void AboutTab::Fill(const OptionFields& fields) {
    txtEMail_->setText(Q(fields.email));
    chkPrivate_->setChecked(fields.dontUseEmail);
}

void AboutTab::Keep(OptionFields& fields) const {
    fields.email = S(txtEMail_->text());
    fields.dontUseEmail = chkPrivate_->isChecked();
}

}  // namespace pagelark
