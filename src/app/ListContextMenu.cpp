#include "app/ListContextMenu.h"

#include "list/CandidateModel.h"
#include "widgets/FileDialog.h"

#include <QAction>

using namespace Qt::StringLiterals;

namespace {

QAction* item(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

} // namespace

ListContextMenu::ListContextMenu(CandidateModel* model, QWidget* parent)
    : QMenu(parent), m_model(model),
      m_addFiles(item(this, u"ListMenu_AddFiles"_s, tr("&Dateien hinzufügen ..."))),
      m_remove(item(this, u"ListMenu_Remove"_s, tr("Aus der Liste &nehmen")))
{
    setObjectName(u"ListMenu"_s);
    addSeparator()->setObjectName(u"ListMenu_Separator"_s);
    m_undo = item(this, u"ListMenu_Undo"_s, tr("Letzte Umbenennung &rückgängig machen"));
    // Shown as "Strg+Z" in German. Bound to the open menu only, so that it never competes with
    // the window's own Ctrl+Z; menu items are announced by their text, which holds no key name.
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_undo->setShortcutContext(Qt::WidgetShortcut);
    m_undo->setShortcutVisibleInContextMenu(true);

    connect(m_addFiles, &QAction::triggered, this, &ListContextMenu::addFiles);
    connect(m_remove, &QAction::triggered, this, &ListContextMenu::removeMarked);
}

void ListContextMenu::open(const QPoint& globalPos, bool canUndo)
{
    m_undo->setEnabled(canUndo);
    popup(globalPos);
}

void ListContextMenu::addFiles()
{
    const QStringList paths = FileDialog::openFiles(parentWidget());
    if (!paths.isEmpty())
        Q_EMIT filesChosen(paths);
}

void ListContextMenu::removeMarked()
{
    if (!m_model)
        return;
    std::vector<int> marked;
    const std::vector<CandidateRow>& rows = m_model->rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Marked)
            marked.push_back(static_cast<int>(i));
    }
    if (marked.empty())
        return;
    m_model->removeRowSet(std::move(marked));
    Q_EMIT rowsRemoved();
}
