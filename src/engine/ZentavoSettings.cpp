#include "ZentavoSettings.h"

#include "engine/RunSettingsSnapshot.h"

using namespace zentavo;

ZentavoSettings zentavoSettingsFrom(const VorrinSettings &stored, const QString &programFolder)
{
    const TVorrinControls &controls = stored.Controls;
    ZentavoSettings settings;
    settings.Run = runSettingsFrom(stored, programFolder);
    settings.Mail.EditHost = controls.EditHost;
    settings.Mail.EditPort = controls.EditPort;
    settings.Mail.EditEMail = controls.EditEMail;
    settings.Mail.EditSubject = controls.EditSubject;
    settings.Mail.EditFrom = controls.EditFrom;
    settings.Mail.CheckBoxHelo = controls.CheckBoxHelo;
    settings.Mail.CheckBoxAuth = controls.CheckBoxAuth;
    settings.Mail.EditUserName = controls.EditUserName;
    settings.Mail.EditPassword = controls.EditPassword;
    settings.CheckBoxMenu = controls.CheckBoxMenu;
    settings.CheckBoxPause = controls.CheckBoxPause;
    settings.CheckBoxTime = controls.CheckBoxTime;
    settings.EditTime = controls.EditTime;
    settings.EditFJob = controls.EditFJob;
    return settings;
}
