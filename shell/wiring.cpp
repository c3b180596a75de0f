#include "shell/wiring.h"

#include "accounting/clock_collaborators.h"
#include "observation/observation_pass.h"
#include "shell/shell_data.h"
#include "shell/tray_icon.h"
#include "store/article_rank.h"
#include "store/settings_store.h"

void ConnectClockToSubsystems()
{
    ClockCollaborators real = DefaultClockCollaborators();
    real.observationPass = ObservationPass;
    real.trayModify = TrayModify;
    real.updateArticleRank = UpdateArticleRank;
    real.saveSettings = SaveSettings;
    real.readingIcon = shell.readingIcon;
    real.idleIcon = shell.idleIcon;
    clockCollaborators = real;
}
