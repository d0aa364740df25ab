// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessiblelists.h"
#include "accessibleleaf.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QListView>
#include <QPersistentModelIndex>
#include <QPointer>

namespace {

const char exposedProperty[] = "lorvaRootedAccessibleList";

// One row of the list, alive as long as the list's accessible object.
class RowItem : public AccessibleLeaf
{
public:
    RowItem(QListView *view, const QModelIndex &index)
        : m_view(view)
        , m_index(index)
    { }

    bool isValid() const override { return m_view && m_index.isValid(); }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_view.data());
    }

    QString text(QAccessible::Text type) const override
    {
        if (!isValid() || (type != QAccessible::Name && type != QAccessible::Value))
            return QString();
        return m_index.data(Qt::DisplayRole).toString();
    }
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect area = m_view->visualRect(m_index);
        return QRect(m_view->viewport()->mapToGlobal(area.topLeft()), area.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        s.selected = m_view->selectionModel()->isSelected(m_index);
        s.focused = m_view->hasFocus() && m_view->currentIndex() == QModelIndex(m_index);
        s.offscreen = !m_view->viewport()->rect().intersects(m_view->visualRect(m_index));
        return s;
    }

    int row() const { return m_index.row(); }

private:
    QPointer<QListView> m_view;
    QPersistentModelIndex m_index;
};

// The list with the rows under its root index.
class RootedList : public QAccessibleWidget
{
public:
    explicit RootedList(QListView *view)
        : QAccessibleWidget(view, QAccessible::List)
    { }
    ~RootedList() override
    {
        for (QAccessible::Id id : std::as_const(m_items))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override
    {
        const QAbstractItemModel *model = view()->model();
        return model ? model->rowCount(view()->rootIndex()) : 0;
    }
    QAccessibleInterface *child(int index) const override
    {
        const QAbstractItemModel *model = view()->model();
        if (!model || index < 0 || index >= childCount())
            return nullptr;
        return item(model->index(index, view()->modelColumn(), view()->rootIndex()));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *row = dynamic_cast<const RowItem *>(child);
        return row && row->isValid() ? row->row() : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        return item(view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y))));
    }
    QAccessibleInterface *focusChild() const override { return item(view()->currentIndex()); }

private:
    QListView *view() const { return static_cast<QListView *>(widget()); }

    // The same object for a row as long as the row lives, so that a screen
    // reader's reference stays good.
    QAccessibleInterface *item(const QModelIndex &index) const
    {
        if (!index.isValid() || index.parent() != view()->rootIndex())
            return nullptr;
        const QPersistentModelIndex key(index);
        if (const QAccessible::Id id = m_items.value(key)) {
            if (QAccessibleInterface *known = QAccessible::accessibleInterface(id);
                known && known->isValid())
                return known;
        }
        auto *row = new RowItem(view(), index);
        m_items.insert(key, QAccessible::registerAccessibleInterface(row));
        return row;
    }

    mutable QHash<QPersistentModelIndex, QAccessible::Id> m_items;
};

QAccessibleInterface *listFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String("QListView") || !object
        || !object->property(exposedProperty).toBool())
        return nullptr;
    return new RootedList(static_cast<QListView *>(object));
}

} // namespace

void AccessibleLists::expose(QListView *view)
{
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(listFactory);
    }
    view->setProperty(exposedProperty, true);
    // An object made before the view was exposed is replaced at the next
    // request.
    if (QAccessibleInterface *current = QAccessible::queryAccessibleInterface(view);
        current && !dynamic_cast<RootedList *>(current))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(current));
}
