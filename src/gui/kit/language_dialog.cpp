#include "gui/kit/language_dialog.h"

#include "frame/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace vokari::ui {
namespace {

struct Installed {
    std::string language{kJapanese};
    // Children of the application: they go with it.
    QPointer<QTranslator> qt;
    QPointer<QTranslator> own;
};

Installed& installed() {
    static Installed state;
    return state;
}

void drop(QPointer<QTranslator>& translator) {
    delete translator.data(); // removes itself from the application
    translator = nullptr;
}

// The catalogue `name` in `folder`, installed; nullptr when there is none.
QTranslator* load(const QString& name, const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(name, folder)) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

} // namespace

bool installUiLanguage(const std::string& language) {
    Installed& state = installed();
    drop(state.qt);
    drop(state.own);
    state.language = language;
    const QString code = QString::fromStdString(language);
    QLocale::setDefault(QLocale(code));

    bool complete = true;
    // Qt's own texts are English in the library itself.
    if (language != kEnglish) {
        state.qt = load(QStringLiteral("qtbase_") + code,
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        complete = complete && state.qt;
    }
    if (language != kJapanese) {
        state.own = load(QStringLiteral("vokari_") + code, QStringLiteral(":/vokari/i18n"));
        complete = complete && state.own;
    }
    return complete;
}

std::string uiLanguage() {
    return installed().language;
}

} // namespace vokari::ui
