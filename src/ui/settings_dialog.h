// TForm5 ("Настройки"): every setting that is not edited elsewhere, on ten tabs and one of our own
// ("Дополнительно", for Zelvano.ini). Modal, on a copy: `fill` sets the controls, `take` reads them back
// after OK. Four actions take effect at once whatever the outcome: a language chosen, the cache
// converted, the secondary service's folders made, an additional cache added or removed. Made once with
// the main window; it opens on the tab it was closed on. UI thread.
#pragma once

#include "config/extra_settings.h"
#include "config/language_table.h"
#include "config/settings.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QVBoxLayout;
class QWidget;

namespace zelvano {

class ProgressWindow;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(std::shared_ptr<LanguageTable> language, QString programFolder, QWidget* parent);

    void applyLanguage();
    // Opening, steps 2 to 4: the controls from the settings, the language list, the additional caches.
    void fill(const Settings& settings, const ExtraSettings& extra);
    // Accepting, the settings' part of steps 1 to 5.
    void take(Settings& settings, ExtraSettings& extra) const;
    // Called with the language file chosen in the list, once it is loaded.
    void onLanguageChosen(std::function<void(const QString& file)> chosen) { languageChosen_ = std::move(chosen); }

    // Handlers, named as the program names them.
    void CheckBox2Click(); // proxy fields
    void CheckBox3Click(); // error counters
    void CheckBox4Click(); // cache folder
    void CheckBox7Click(); // additional caches
    void ButtonSClick();   // primary templates restored
    void Button5Click();   // secondary templates restored
    void RadioButton10Click();
    void Button2Click(); // add an additional cache
    void Button3Click(); // remove it
    void ListBox1Click();
    void ListBox2Click(); // a language chosen
    void Button4Click();  // convert the cache
    void Button1Click();  // ReadMe

private:
    QWidget* internetTab();
    QWidget* primaryTab();
    QWidget* secondaryTab();
    QWidget* cacheTab();
    QWidget* errorsTab();
    QWidget* timerTab();
    QWidget* stitchingTab();
    QWidget* controlTab();
    QWidget* languageTab();
    QWidget* aboutTab();
    QWidget* extraTab();
    // The widget's caption (a group's title, a label's or a button's text) from the entry, now and after
    // every language change.
    void caption(QWidget* widget, int entry);
    // The three labelled request edits of a service.
    struct TemplateEdit {
        QLineEdit** edit;
        const char* editName;
        const char* labelName;
    };
    void templateEdits(QVBoxLayout* box, const std::array<TemplateEdit, 3>& edits);
    QString cacheRoot() const;
    void saveExtraList();
    void fillLanguages();

    std::shared_ptr<LanguageTable> language_;
    const QString folder_;
    LanguageTable::Subscription relabel_;
    std::function<void(const QString&)> languageChosen_;
    std::vector<std::function<void()>> captions_; // each sets one text from the table
    QString languageFile_;
    ProgressWindow* progress_ = nullptr; // TForm3 of the conversion

    QTabWidget* tabs_ = nullptr;
    QRadioButton *internetOnly_ = nullptr, *cacheAndInternet_ = nullptr, *cacheOnly_ = nullptr; // 2, 3, 1
    QRadioButton *satelliteOnly_ = nullptr, *bothLayers_ = nullptr, *mapOnly_ = nullptr;        // 7, 8, 6
    QCheckBox* useProxy_ = nullptr;                                                             // CheckBox2
    QLineEdit *proxyHost_ = nullptr, *proxyPort_ = nullptr, *proxyUser_ = nullptr, *proxyPassword_ = nullptr;
    QLineEdit *satTemplate_ = nullptr, *hybridTemplate_ = nullptr, *mapTemplate_ = nullptr;        // 11, 3, 4
    QCheckBox* primaryMirrors_ = nullptr;                                                          // CheckBox11
    QLineEdit *aerialTemplate_ = nullptr, *secHybridTemplate_ = nullptr, *roadTemplate_ = nullptr; // 10, 20, 22
    QCheckBox* secondaryMirrors_ = nullptr;                                                        // CheckBox15
    QRadioButton *primaryService_ = nullptr, *secondaryService_ = nullptr;                         // 9, 10
    QCheckBox* useCacheFolder_ = nullptr;                                                          // CheckBox4
    QLineEdit* cacheFolder_ = nullptr;                                                             // Edit16
    QPushButton* browseCache_ = nullptr;
    QCheckBox* singleFolder_ = nullptr; // CheckBox12
    QCheckBox* extraCaches_ = nullptr;  // CheckBox7
    QListWidget* extraList_ = nullptr;  // ListBox1
    QPushButton *addExtra_ = nullptr, *removeExtra_ = nullptr;
    QCheckBox *autoGenerate_ = nullptr, *autoReplace_ = nullptr; // CheckBox5, CheckBox6
    QComboBox* autoQuality_ = nullptr;                           // ComboBox3
    QCheckBox* errorControl_ = nullptr;                          // CheckBox3
    QSpinBox* counters_[5] = {};                                 // retries, interval, write, fetch, bad file
    QLabel* counterLabels_[5] = {};
    QCheckBox* showLog_ = nullptr;   // CheckBox8
    QCheckBox* showTimer_ = nullptr; // CheckBox1
    QCheckBox *calibOzi_ = nullptr, *calibMapInfo_ = nullptr, *calibArcGis_ = nullptr, *calibSeeYou_ = nullptr;
    QRadioButton *clickMouse_ = nullptr, *wheelMouse_ = nullptr; // RadioButton4, RadioButton5
    QListWidget* languages_ = nullptr;                           // ListBox2
    QLabel* languageLabel_ = nullptr;                            // Label33
    QSpinBox* connections_ = nullptr;
};

} // namespace zelvano
