#pragma once
// The "&About" tab: the product, its version and the operator's e-mail address.

#include <QWidget>
#include <functional>
#include <string>

#include "editor/option_fields.h"

class QCheckBox;
class QLineEdit;

namespace pagelark {

class ConfigEvents;

class AboutTab final : public QWidget {
    Q_OBJECT
  public:
    // productPage: the help's page about the program, which the Visit button shows.
    AboutTab(std::function<void()> changed, ConfigEvents& events, std::string productPage,
             QWidget* parent);
    void Fill(const OptionFields& fields);
    void Keep(OptionFields& fields) const;
    QLineEdit* EMailBox() const { return emailEdit_; }

  private:
    std::function<void()> changed_;
    ConfigEvents& events_;
    std::string productPage_;
    QLineEdit* emailEdit_;
    QCheckBox* privateCheck_;
};

}  // namespace pagelark
