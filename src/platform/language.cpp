// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

namespace qx {

namespace {

const QString kSource = QStringLiteral("ja");
const QString kTranslations = QStringLiteral(":/translations");

// The translators of the language spoken now; QCoreApplication keeps only
// pointers to them.
std::vector<std::unique_ptr<QTranslator>>& installed()
{
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

bool install(const QString& name, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed().push_back(std::move(translator));
    return true;
}

} // namespace

QStringList shippedLanguages()
{
    QStringList languages{kSource};
    const QStringList files =
        QDir(kTranslations).entryList({QStringLiteral("quiravex_*.qm")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        languages.append(file.sliced(9).chopped(3));
    return languages;
}

QString interfaceLanguage(const QStringList& uiLanguages, const QStringList& shipped)
{
    for (const QString& wanted : uiLanguages) {
        if (wanted == u"C" || wanted == u"POSIX")
            return kSource;
        // "ja-JP" and "ja" both ask for Japanese.
        const QString language = wanted.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
        if (shipped.contains(language))
            return language;
    }
    return QStringLiteral("en");
}

bool installLanguage(const QString& language)
{
    for (const std::unique_ptr<QTranslator>& translator : installed())
        QCoreApplication::removeTranslator(translator.get());
    installed().clear();
    if (language != kSource)
        install(QStringLiteral("quiravex_") + language, kTranslations);
    // Qt's own texts are written in English.
    if (language == u"en")
        return true;
    return install(QStringLiteral("qtbase_") + language,
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool installDesktopLanguage()
{
    return installLanguage(interfaceLanguage(QLocale::system().uiLanguages(), shippedLanguages()));
}

} // namespace qx
