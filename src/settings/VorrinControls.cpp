#include "VorrinControls.h"

namespace zentavo {

TVorrinEnabled EnabledControls(const TVorrinControls &c)
{
    TVorrinEnabled e;
    e.CheckBoxTime = c.CheckBoxPause || c.CheckBoxMenu;
    e.CheckBoxPause = !c.CheckBoxMenu;
    e.EditTime = c.CheckBoxTime && e.CheckBoxTime;

    if (c.CheckBoxAClose) {
        e.CheckBoxAPrint = e.CheckBoxASend = e.CheckBoxAPower = true;
        e.CheckBoxAOnlyErrors = e.CheckBoxASumRep = c.CheckBoxAPrint || c.CheckBoxASend;
    }

    e.ReportOptions = c.CheckBoxRep;
    e.EditRepSize = c.CheckBoxRepSize && e.ReportOptions;
    e.JournalOptions = c.CheckBoxRun;
    e.EditRunSize = c.CheckBoxRunSize && e.JournalOptions;

    e.ArchiveVolumes = !c.RadioButtonArcAdd;
    e.PathRadios = c.CheckBoxInfoPath;
    e.CheckBoxWithDrive = c.CheckBoxInfoPath && c.RadioButtonFPath;
    e.Authorization = c.CheckBoxAuth;

    const bool onStartup = c.Mode == ScheduleMode::OnStartup;
    e.TimeList = !onStartup;
    e.CheckBoxOnce = onStartup;
    e.CheckBoxNotWeek = c.Mode == ScheduleMode::Daily;
    e.PanelWeekDaysVisible = c.Mode == ScheduleMode::Weekly;
    e.PanelMonthDaysVisible = c.Mode == ScheduleMode::Monthly;
    return e;
}

} // namespace zentavo
