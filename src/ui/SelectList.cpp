// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SelectList.h"

#include "ui/ChangeTracker.h"
#include "ui/ListAccessibility.h"
#include "ui/RowDelegate.h"
#include "ui/RowModel.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

using namespace rowlayout;

// The list's own state behind its views: the change tracker, how rows look,
// and the view's events turned into the list's reports.
class SelectListPrivate {
public:
    explicit SelectListPrivate(SelectList* owner) : q(owner), tracker(owner) {}

    using Batch = ChangeTracker::Batch;

    RowParts PartsOf(int row) const
    {
        const QRect cell = q->view->visualRect(q->model->index(row, 0));
        const bool fullRow = look.UsesFullRow();
        const int rowRight = fullRow ? q->RowRect(row).right() : cell.right();
        return LayOutRow(cell, rowRight, q->GetItemText(row, 0), q->view->fontMetrics(), look.hasStateIcons, fullRow);
    }

    // The view's event() and viewportEvent() overrides lead here.
    template <class BaseHandler>
    bool ViewEvent(QEvent* event, BaseHandler&& base)
    {
        // Before the view's own navigation sees the key.
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            emit q->keyDown(key->key(), key->modifiers());
        }
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            q->view->viewport()->update(); // the selection's colour tells which list has the keyboard
        Batch batch(&tracker);
        return base(event);
    }

    template <class BaseHandler>
    bool ViewportEvent(QEvent* event, BaseHandler&& base)
    {
        if (event->type() == QEvent::ToolTip) {
            ShowInfoTip(static_cast<QHelpEvent*>(event));
            return true;
        }
        const bool mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick ||
                           event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseMove;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            // The view takes no focus on a click by itself (see the
            // constructor): only the left and the right button give it.
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            if (button == Qt::LeftButton || button == Qt::RightButton)
                q->view->setFocus(Qt::MouseFocusReason);
        }
        bool result = true;
        if (!mouse || !KeepFromView(event->type(), *static_cast<QMouseEvent*>(event))) {
            Batch batch(&tracker);
            result = base(event);
        }
        // After the batch: the row changes of the press are reported before
        // the click, and a click handler's own calls report theirs.
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            ReportMouse(event->type(), mouse->button(), mouse->position().toPoint());
            break;
        }
        default:
            break;
        }
        return result;
    }

    // Mouse input the view itself must not act on, as a list view of the
    // desktop does: the middle button; a press beside every label (the hit
    // test puts it on no row, so it selects nothing); and a move with a
    // button down, which starts a drag instead of moving the selection.
    bool KeepFromView(QEvent::Type type, const QMouseEvent& mouse)
    {
        const QPoint point = mouse.position().toPoint();
        if (type == QEvent::MouseMove) {
            if ((mouse.buttons() & (Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)) == 0)
                return false;
            if ((point - pressPoint).manhattanLength() >= QApplication::startDragDistance())
                dragging = true;
            return true;
        }
        if (mouse.button() == Qt::MiddleButton)
            return true;
        if (type == QEvent::MouseButtonRelease)
            return false;
        pressPoint = point;
        dragging = false;
        return q->HitTest(point).row < 0;
    }

    // What a button did since it went down: a release reports a click only
    // after a plain press, not after the press that made a double click nor
    // after a drag.
    enum class Press { None, Single, Double };

    void ReportMouse(QEvent::Type type, Qt::MouseButton button, QPoint point)
    {
        const bool left = button == Qt::LeftButton;
        if (!left && button != Qt::RightButton)
            return;
        Press& press = left ? leftPress : rightPress;
        if (type == QEvent::MouseButtonPress) {
            press = Press::Single;
            return;
        }
        const int row = q->HitTest(point).row;
        if (type == QEvent::MouseButtonDblClick) {
            press = Press::Double;
            if (left)
                emit q->doubleClicked(row, point);
            else
                emit q->rightDoubleClicked(row, point);
            return;
        }
        const bool click = press == Press::Single && !dragging;
        press = Press::None;
        if (!click)
            return;
        if (left)
            emit q->clicked(row, point);
        else
            emit q->rightClicked(row, point);
    }

    // A tip belongs to the same parts of a row as a click: its state icon
    // and its label, not the blank rest of the cell.
    void ShowInfoTip(QHelpEvent* help)
    {
        const int row = q->HitTest(help->pos()).row;
        if (row < 0) {
            QToolTip::hideText();
            help->ignore();
            return;
        }
        QString text;
        emit q->infoTipRequested(row, &text, q->infoTipCapacity);
        // Like a text buffer of that many characters with its terminating zero.
        if (text.isEmpty() || text.size() >= q->infoTipCapacity) {
            QToolTip::hideText();
            return;
        }
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (Qt::mightBeRichText(text))
            text = Qt::convertFromPlainText(text, Qt::WhiteSpacePre);
        const RowParts parts = PartsOf(row);
        QToolTip::showText(help->globalPos(), text, q->view->viewport(), parts.icon.united(parts.label));
    }

    SelectList* q;
    ChangeTracker tracker;
    Press leftPress = Press::None;
    Press rightPress = Press::None;
    QPoint pressPoint;
    bool dragging = false;

    RowLook look;
    int rowToShow = -1; // asked to be scrolled into view before the list showed
    int declaredColumns = 0;
    int listColumnWidth = 50;
};

namespace {


// A list or tree view that runs its events through the list's batches.
template <class Base>
class TrackedView final : public Base {
public:
    TrackedView(SelectListPrivate* d, QWidget* parent) : Base(parent), d(d) {}
    void Detach() { d = nullptr; }

protected:
    bool event(QEvent* event) override
    {
        if (d == nullptr)
            return Base::event(event);
        return d->ViewEvent(event, [this](QEvent* e) { return Base::event(e); });
    }

    bool viewportEvent(QEvent* event) override
    {
        if (d == nullptr)
            return Base::viewportEvent(event);
        return d->ViewportEvent(event, [this](QEvent* e) { return Base::viewportEvent(e); });
    }

private:
    SelectListPrivate* d;
};

using TrackedListView = TrackedView<QListView>;
using TrackedTreeView = TrackedView<QTreeView>;

void DetachView(QAbstractItemView* view, SelectList::Mode mode)
{
    if (mode == SelectList::Mode::List)
        static_cast<TrackedListView*>(view)->Detach();
    else
        static_cast<TrackedTreeView*>(view)->Detach();
}

} // namespace

SelectList::SelectList(int id, Mode mode, QWidget* parent)
    : QWidget(parent), d(std::make_unique<SelectListPrivate>(this)), controlId(id), mode(mode)
{
    InstallListAccessibility();
    model = new RowModel(this);
    d->look.report = mode == Mode::Report;

    if (mode == Mode::List) {
        auto* list = new TrackedListView(d.get(), this);
        list->setFlow(QListView::TopToBottom);
        list->setWrapping(true);
        list->setMovement(QListView::Static);
        list->setResizeMode(QListView::Fixed);
        list->setUniformItemSizes(true);
        list->setSpacing(0);
        list->setSelectionRectVisible(false);
        list->setGridSize(QSize(d->listColumnWidth, RowHeight));
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view = list;
    } else {
        auto* tree = new TrackedTreeView(d.get(), this);
        header = new FixedHeader(tree);
        tree->setHeader(header);
        tree->setRootIsDecorated(false);
        tree->setItemsExpandable(false);
        tree->setExpandsOnDoubleClick(false);
        tree->setUniformRowHeights(true);
        tree->setSortingEnabled(false);
        tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        tree->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        view = tree;
    }
    view->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    // Qt would give the view the focus on a press of any button, before the
    // view sees the press; a middle click must not move it. The left and the
    // right button give it in ViewportEvent.
    view->setFocusPolicy(Qt::TabFocus);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(mode == Mode::List ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
    view->setDragEnabled(false);
    view->setItemDelegate(new RowDelegate(&d->look, view));
    view->setModel(model); // the header keeps its fixed, unmovable, unclickable sections

    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex&, const QList<int>& roles) {
                if (roles.isEmpty() || roles.contains(TickRole)) {
                    d->tracker.Touch();
                    AnnounceTickChange(first.row());
                }
            });
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { d->tracker.RowsInserted(first, last); });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { d->tracker.RowsRemoved(first, last); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { d->tracker.Touch(); });
    connect(model, &QAbstractItemModel::layoutChanged, this, [this] { d->tracker.Touch(); });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { d->tracker.Touch(); });
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { d->tracker.Touch(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->addWidget(view);
    setFocusProxy(view);
}

SelectList::~SelectList()
{
    // The view goes before the tracker it reports through.
    d->tracker.muted = true;
    model->disconnect(this);
    DetachView(view, mode);
    delete view;
    view = nullptr;
    header = nullptr;
}

void SelectList::InsertColumn(int column, const QString& heading, int width)
{
    SelectListPrivate::Batch batch(&d->tracker);
    column = std::clamp(column, 0, d->declaredColumns);
    // The model starts with one column for the rows; the first declared
    // column is that one.
    if (d->declaredColumns > 0)
        model->InsertColumn(column, heading);
    else
        model->SetHeading(column, heading);
    ++d->declaredColumns;
    SetColumnWidth(column, width);
}

int SelectList::GetColumnWidth(int column) const
{
    if (mode == Mode::List)
        return column == 0 ? d->listColumnWidth : 0;
    if (column < 0 || column >= d->declaredColumns)
        return 0;
    return header->sectionSize(column);
}

void SelectList::SetColumnWidth(int column, int width)
{
    if (mode == Mode::List) {
        if (column == 0)
            SetListColumnWidth(width);
        return;
    }
    if (column < 0 || column >= d->declaredColumns)
        return;
    header->resizeSection(column, std::max(width, 0));
}

void SelectList::SetHeaderHidden(bool hidden)
{
    if (mode == Mode::Report)
        static_cast<QTreeView*>(view)->setHeaderHidden(hidden);
}

void SelectList::SetListColumnWidth(int width)
{
    if (mode != Mode::List)
        return;
    d->listColumnWidth = std::max(width, 1);
    static_cast<QListView*>(view)->setGridSize(QSize(d->listColumnWidth, RowHeight));
}

void SelectList::SetFullRowSelect(bool on)
{
    d->look.fullRowSelect = on;
    // The focus frame goes round the whole row only where the selection does;
    // elsewhere the delegate frames the label alone.
    if (auto* tree = qobject_cast<QTreeView*>(view))
        tree->setAllColumnsShowFocus(on);
    view->viewport()->update();
}

void SelectList::SetStateIcons(const QIcon& unticked, const QIcon& ticked)
{
    d->look.stateIcons[0] = unticked;
    d->look.stateIcons[1] = ticked;
    d->look.hasStateIcons = true;
    view->viewport()->update();
    // A screen reader may already have met the view as a plain table: it
    // meets it again as a list of checkable rows.
    if (QAccessible::isActive()) {
        if (QAccessibleInterface* known = QAccessible::queryAccessibleInterface(view))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
    }
}

bool SelectList::HasStateIcons() const
{
    return d->look.hasStateIcons;
}

int SelectList::InsertRow(int row, const QString& text)
{
    if (row < 0)
        return -1;
    SelectListPrivate::Batch batch(&d->tracker);
    row = std::min(row, model->rowCount());
    model->InsertRow(row, text);
    return row;
}

void SelectList::AppendRows(QList<RowContent> rows)
{
    SelectListPrivate::Batch batch(&d->tracker);
    model->AppendRows(std::move(rows));
}

int SelectList::GetRowKey(int row) const
{
    if (row < 0 || row >= model->rowCount())
        return -1;
    return model->data(model->index(row, 0), RowModel::KeyRole).toInt();
}

void SelectList::SetItemText(int row, int column, const QString& text)
{
    if (row < 0 || row >= model->rowCount() || column < 0 || column >= model->columnCount())
        return;
    SelectListPrivate::Batch batch(&d->tracker);
    model->SetText(row, column, text);
}

QString SelectList::GetItemText(int row, int column) const
{
    return model->Text(row, column);
}

void SelectList::DeleteAllRows()
{
    SelectListPrivate::Batch batch(&d->tracker);
    // Removing rows moves the current index and the selection; none of that
    // is reported: the rows are gone.
    d->tracker.muted = true;
    model->RemoveAllRows();
    d->tracker.muted = false;
    d->tracker.Clear();
    d->rowToShow = -1;
}

int SelectList::GetRowCount() const
{
    return model->rowCount();
}

int SelectList::GetTick(int row) const
{
    if (row < 0 || row >= model->rowCount())
        return -1;
    return model->StateImage(row) - 1;
}

void SelectList::SetTick(int row, bool ticked)
{
    if (row < 0 || row >= model->rowCount())
        return;
    SelectListPrivate::Batch batch(&d->tracker);
    model->SetStateImage(row, ticked ? 2 : 1);
}

bool SelectList::SelectAndFocus(int row)
{
    if (row < 0 || row >= model->rowCount())
        return false;
    SelectListPrivate::Batch batch(&d->tracker);
    d->tracker.selectionMark = row;
    // Selecting from code does not scroll; EnsureVisible does.
    const bool autoScroll = view->hasAutoScroll();
    view->setAutoScroll(false);
    view->selectionModel()->setCurrentIndex(model->index(row, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->setAutoScroll(autoScroll);
    return true;
}

int SelectList::GetFirstSelectedRow() const
{
    int first = -1;
    for (const QModelIndex& index : view->selectionModel()->selectedIndexes())
        if (first < 0 || index.row() < first)
            first = index.row();
    return first;
}

bool SelectList::IsRowSelected(int row) const
{
    if (row < 0 || row >= model->rowCount())
        return false;
    return view->selectionModel()->isSelected(model->index(row, 0));
}

int SelectList::GetFocusedRow() const
{
    const QModelIndex current = view->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int SelectList::GetSelectionMark() const
{
    return d->tracker.selectionMark;
}

void SelectList::SetSelectionMark(int row)
{
    d->tracker.selectionMark = row;
}

void SelectList::EnsureVisible(int row)
{
    if (row < 0 || row >= model->rowCount())
        return;
    // Until the list is on screen its view has no size of its own, and every
    // row but the first would seem out of sight: the row is scrolled to when
    // the list shows, and only as far as it then needs.
    if (!view->isVisible()) {
        d->rowToShow = row;
        return;
    }
    SelectListPrivate::Batch batch(&d->tracker);
    view->scrollTo(model->index(row, 0), QAbstractItemView::EnsureVisible);
}

void SelectList::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event); // the view shows first, with its size
    EnsureVisible(std::exchange(d->rowToShow, -1));
}

SelectList::HitTestResult SelectList::HitTest(QPoint point) const
{
    HitTestResult result;
    if (!view->viewport()->rect().contains(point))
        return result;
    const QModelIndex index = view->indexAt(point);
    if (!index.isValid())
        return result;
    const RowParts parts = d->PartsOf(index.row());
    if (parts.icon.contains(point))
        return {index.row(), HitOnStateIcon};
    if (parts.label.contains(point))
        return {index.row(), HitOnLabel};
    // Beside the label: on no row, as for the empty area below the rows.
    return result;
}

QRect SelectList::RowRect(int row) const
{
    if (row < 0 || row >= model->rowCount())
        return {};
    QRect rect = view->visualRect(model->index(row, 0));
    if (mode == Mode::Report)
        for (int column = 1; column < model->columnCount(); ++column)
            rect = rect.united(view->visualRect(model->index(row, column)));
    return rect;
}

QRect SelectList::StateIconRect(int row) const
{
    if (row < 0 || row >= model->rowCount())
        return {};
    return d->PartsOf(row).icon;
}

QRect SelectList::LabelRect(int row) const
{
    if (row < 0 || row >= model->rowCount())
        return {};
    return d->PartsOf(row).label;
}

void SelectList::AnnounceTickChange(int row)
{
    if (!QAccessible::isActive() || !d->look.hasStateIcons)
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(view, changed);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}

QWidget* SelectList::Viewport() const
{
    return view->viewport();
}
