// SPDX-FileCopyrightText: 2026 The Quiravex developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/desktop.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QUrl>

#include <csignal>
#include <memory>
#include <utility>

namespace qx {

namespace {
const QString kTitle = QStringLiteral("Quiravex");
}

void prepareProcess()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

DesktopSound::DesktopSound(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

DesktopSound::~DesktopSound()
{
    qDeleteAll(m_effects);
}

void DesktopSound::play(const QString& path)
{
    if (m_playing)
        m_playing->stop();
    m_playing = nullptr;
    const QFileInfo file(m_dataFolder.isEmpty() ? path : m_dataFolder + QLatin1Char('/') + path);
    if (!file.isFile())
        return;
    QSoundEffect*& effect = m_effects[file.absoluteFilePath()];
    if (!effect) {
        effect = new QSoundEffect;
        effect->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    }
    effect->play();
    m_playing = effect;
}

QWidget* DesktopDialogs::owner() const
{
    QWidget* window = m_owner ? m_owner() : nullptr;
    return window ? window : QApplication::activeWindow();
}

void DesktopDialogs::message(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok, owner());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString DesktopDialogs::input(const QString& caption, const QString& prompt,
                              const QString& defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(owner(), caption, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QString DesktopDialogs::chooseFolder(const QString& caption)
{
    // Given a folder that is not there, the picker types its name in and
    // greys its button: a player without a documents folder starts at home.
    QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(start).isDir())
        start = QDir::homePath();
    return QFileDialog::getExistingDirectory(owner(), caption, start);
}

void DesktopDialogs::error(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, kTitle, text, QMessageBox::Ok, owner());
    // Errors name paths and file contents, which may hold anything.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace qx
