#include "app/windows/settings/settings_host.h"

#include "app/windows/skeleton/dui_frame_window.h"

void OpenSettingsDialog(IDialogTable& dialogs, unsigned id, std::optional<bool> tabsEnabled) {
    dialogs.openDialog(id);
    if (!tabsEnabled) return;
    if (auto* tabs = dynamic_cast<ISettingsTabs*>(dialogs.dialog(id))) {
        tabs->setTabsEnabled(*tabsEnabled);
    }
}
