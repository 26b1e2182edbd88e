// F1 in a window opens that window's own help topic, as its Help button does.
#pragma once

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace qm {

// The key belongs to the window: a dialog above another takes it for its own topic.
template<typename Show> void AddHelpKey(QWidget* window, Show show)
{
    auto* key = new QShortcut(QKeySequence(QKeySequence::HelpContents), window);
    key->setObjectName(QStringLiteral("helpKey"));
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window, show);
}

} // namespace qm
