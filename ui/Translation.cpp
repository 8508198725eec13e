#include "ui/Translation.h"

#include "app/Tr.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTranslator>

namespace vostrel {

namespace {

QTranslator* gInstalled = nullptr;

std::string TranslateText(const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
}

QString FileOf(const QString& name) {
    return QStringLiteral(":/i18n/vostrel_%1.qm").arg(name);
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
    return {};
}

bool InstallTranslation(const QStringList& uiLanguages) {
    RemoveTranslation();
    const QString file = TranslationFile(uiLanguages);
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
    if (gInstalled != nullptr) {
        QCoreApplication::removeTranslator(gInstalled);
        delete gInstalled;
        gInstalled = nullptr;
    }
}

} // namespace vostrel
