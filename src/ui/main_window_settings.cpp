// The main window's settings button: the settings dialog on a copy of the settings, taken back on OK in
// the dialog's order (the toolbar's buttons, the languages of every window, the additional caches, the
// view, the file), with the window's input off while it is open.
#include "ui/main_window.h"

#include "config/cache_list.h"
#include "config/extra_settings.h"
#include "config/settings_file.h"
#include "ui/settings_dialog.h"

namespace zelvano {

void MainWindow::ToolButton6Click() {
    SetInputEnabled(false);
    ExtraSettings extra = loadExtraSettings(state_.folder);
    settingsDialog_->fill(state_.settings, extra);
    if (settingsDialog_->exec() == QDialog::Accepted) {
        Settings& s = state_.settings;
        settingsDialog_->take(s, extra);
        setWorkModeButton();
        UpdateLayerButton();
        jobLimits_->set(jobLimitsFrom(s));
        state_.extraCaches.clear();
        FormShow(); // the language on every window again, the zoom slider
        state_.extraCaches = loadCacheList(state_.folder);
        RefreshView(); // with the cache root the settings now give
        saveSettings(s, state_.folder);
        saveExtraSettings(state_.folder, extra);
    }
    SetInputEnabled(true);
}

} // namespace zelvano
