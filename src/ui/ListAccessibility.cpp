// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ListAccessibility.h"

#include "ui/SelectList.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

namespace {

// One row of a list with tick boxes.
class RowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    RowAccessible(SelectList* list, int row) : list(list), row(row) {}

    bool isValid() const override { return list != nullptr && row < list->GetRowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list != nullptr ? list->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return list != nullptr ? QAccessible::queryAccessibleInterface(list->View()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? list->GetItemText(row, 0) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect cell = list->RowRect(row);
        return QRect(list->Viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }
    // A check box: the bridges of Qt 6.4 pass the checked state on but not
    // the checkable one, and a reader says "not checked" only of a check box.
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = state.focusable = true;
        state.selected = list->IsRowSelected(row);
        state.focused = list->GetFocusedRow() == row && list->View()->hasFocus();
        state.checkable = list->GetTick(row) >= 0;
        state.checked = list->GetTick(row) == 1;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {toggleAction()}; }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        return name == toggleAction() ? QStringList{QStringLiteral("Space")} : QStringList();
    }
    void doAction(const QString& name) override
    {
        if (name == toggleAction() && isValid())
            emit list->toggleRequested(row);
    }

private:
    QPointer<SelectList> list;
    int row;
};

// The view of a list with tick boxes: a list whose children are its rows.
class TickListAccessible final : public QAccessibleWidget {
public:
    TickListAccessible(QAbstractItemView* view, SelectList* list)
        : QAccessibleWidget(view, QAccessible::List), list(list)
    {
    }
    ~TickListAccessible() override
    {
        for (const QAccessible::Id id : rowIds)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return list != nullptr ? list->GetRowCount() : 0; }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        while (static_cast<int>(rowIds.size()) <= index)
            rowIds.push_back(QAccessible::registerAccessibleInterface(
                new RowAccessible(list, static_cast<int>(rowIds.size()))));
        return QAccessible::accessibleInterface(rowIds[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (std::size_t i = 0; i < rowIds.size(); ++i) {
            if (QAccessible::accessibleInterface(rowIds[i]) == child)
                return static_cast<int>(i);
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (list == nullptr)
            return nullptr;
        const QPoint point = list->Viewport()->mapFromGlobal(QPoint(x, y));
        for (int row = 0; row < childCount(); ++row) {
            if (list->RowRect(row).contains(point))
                return child(row);
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        return list != nullptr && list->View()->hasFocus() ? child(list->GetFocusedRow()) : nullptr;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && list != nullptr && !list->accessibleName().isEmpty())
            return list->accessibleName();
        return QAccessibleWidget::text(t);
    }

private:
    QPointer<SelectList> list;
    mutable std::vector<QAccessible::Id> rowIds;
};

QAccessibleInterface* ListFactory(const QString&, QObject* object)
{
    auto* view = qobject_cast<QAbstractItemView*>(object);
    auto* list = view != nullptr ? qobject_cast<SelectList*>(view->parent()) : nullptr;
    if (list == nullptr || !list->HasStateIcons() || list->View() != view)
        return nullptr;
    return new TickListAccessible(view, list);
}

} // namespace

void InstallListAccessibility()
{
    static const bool installed = (QAccessible::installFactory(ListFactory), true);
    (void)installed;
}
