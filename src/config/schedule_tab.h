#pragma once
// The "Schedule" tab: what shows while no page is due, pages that follow the clock, and the
// hours the screen is on.

#include <QWidget>
#include <functional>

#include "editor/option_fields.h"

class QCheckBox;
class QLineEdit;

namespace pagelark {

class ScheduleTab final : public QWidget {
    Q_OBJECT
  public:
    ScheduleTab(std::function<void()> changed, QWidget* parent);
    void Fill(const OptionFields& fields);
    void Keep(OptionFields& fields) const;

  private:
    std::function<void()> changed_;
    QLineEdit* idlePageEdit_;
    QCheckBox* clockAlignedCheck_;
    QLineEdit* screenDaysEdit_;
    QLineEdit* screenOnEdit_;
    QLineEdit* screenOffEdit_;
    QCheckBox* screenCecCheck_;
};

}  // namespace pagelark
