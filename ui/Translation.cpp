#include "ui/Translation.h"

#include "app/Tr.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vostrel {

namespace {

QTranslator* gInstalled = nullptr;
QTranslator* gQtInstalled = nullptr;

std::string TranslateText(const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
}

QString FileOf(const QString& name) {
    return QStringLiteral(":/i18n/vostrel_%1.qm").arg(name);
}

// "en" from ":/i18n/vostrel_en.qm", "pt_BR" from ":/i18n/vostrel_pt_BR.qm".
QString LanguageOf(const QString& file) {
    const QString name = file.section(u'/', -1);
    return name.mid(name.indexOf(u'_') + 1).chopped(3);
}

// Qt's texts are English as written; a missing translation package leaves them so.
void InstallQtTexts(const QString& language) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator)) {
        gQtInstalled = translator;
        return;
    }
    delete translator;
}

} // namespace

QString TranslationFile(const QStringList& uiLanguages) {
    for (const QString& tag : uiLanguages) {
        const QString name = QString(tag).replace(u'-', u'_');
        const QString language = name.section(u'_', 0, 0);
        if (language == u"ja" || language == u"C" || language == u"POSIX") {
            return {};
        }
        // The language and region first ("pt_BR"), then the language alone.
        if (QFile::exists(FileOf(name))) {
            return FileOf(name);
        }
        if (QFile::exists(FileOf(language))) {
            return FileOf(language);
        }
    }
    // A player who reads none of the game's languages is more likely to read English than
    // Japanese.
    return uiLanguages.isEmpty() ? QString() : FileOf(QStringLiteral("en"));
}

bool InstallTranslation(const QStringList& uiLanguages) {
    RemoveTranslation();
    const QString file = TranslationFile(uiLanguages);
    InstallQtTexts(file.isEmpty() ? QStringLiteral("ja") : LanguageOf(file));
    if (file.isEmpty()) {
        return false;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(file) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    gInstalled = translator;
    SetTextTranslator(TranslateText);
    return true;
}

void RemoveTranslation() {
    SetTextTranslator(nullptr);
    for (QTranslator** t : {&gInstalled, &gQtInstalled}) {
        if (*t != nullptr) {
            QCoreApplication::removeTranslator(*t);
            delete *t;
            *t = nullptr;
        }
    }
}

} // namespace vostrel
