#pragma once
// The "Schedule" tab: what shows while no page is due, pages that follow the clock, the size
// pages are laid out at, and the hours the screen is on.

#include <QWidget>
#include <functional>

#include "config/controls.h"
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
    QLineEdit* offlinePageEdit_;
    QCheckBox* clockAlignedCheck_;
    QLineEdit* zoomEdit_;
    UpDownLink* zoomLink_;
    DayHoursBoxes screenHours_;  // ScreenDays, ScreenOn, ScreenOff
    QCheckBox* screenCecCheck_;
    QCheckBox* playLogCheck_;
};

}  // namespace pagelark
