// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SelectList.h"

#include "ui/RowModel.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QToolTip>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int RowHeight = 16;
constexpr int IconSize = 16;
// With state images every label starts after the icon and a 1-pixel gap,
// whether the row shows an icon or not.
constexpr int LabelOffset = IconSize + 1;
constexpr int TextPadding = 2;
// The state image number of a row (0 none, 1 unticked, 2 ticked), kept on
// the row's first item. Not Qt::CheckStateRole: Qt would toggle that itself.
constexpr int TickRole = RowModel::StateImageRole;

// The parts of a row, laid out from the rectangle of its first column. The
// one function that both paints rows and hit-tests them.
struct RowParts {
    QRect icon;  // empty without state images
    QRect label; // the text plus a little, clipped to the cell; the rest of the row with full-row select
    QRect text;  // where the text is drawn
};

RowParts LayOutRow(const QRect& cell, int rowRight, const QString& text, const QFontMetrics& metrics,
                   bool withIcons, bool fullRow)
{
    RowParts parts;
    int labelLeft = cell.left();
    if (withIcons) {
        parts.icon = QRect(cell.left(), cell.top() + (cell.height() - IconSize) / 2, IconSize, IconSize) & cell;
        labelLeft += LabelOffset;
    }
    parts.text = QRect(QPoint(labelLeft + TextPadding, cell.top()), QPoint(cell.right() - TextPadding, cell.bottom()));
    const int labelRight = fullRow ? rowRight
                                   : std::min(cell.right(), labelLeft + metrics.horizontalAdvance(text) + 2 * TextPadding - 1);
    parts.label = QRect(QPoint(labelLeft, cell.top()), QPoint(labelRight, cell.bottom()));
    if (!parts.label.isValid())
        parts.label = QRect();
    return parts;
}

// Tick, selection and focus of one row as last reported.
struct RowState {
    int tick = 0;
    bool selected = false;
    bool focused = false;
    quint64 reportedBy = 0; // the flush that last recorded a change of this row

    bool SameAs(const RowState& other) const
    {
        return tick == other.tick && selected == other.selected && focused == other.focused;
    }
};

} // namespace

// Turns Qt's raw signals into one itemChanged(row) per changed row. The raw
// signals come in a different order depending on the path (a mouse press
// moves the current index before the selection, code and keys the other way
// round), so they only mark the rows as dirty. Every public call that can
// change a row and every event the view handles runs inside a batch; when the
// outermost batch ends, the rows are compared with the last reported state
// and each changed row is reported, rows that lost their selection or focus
// first. Reports are made outside any batch, so a handler's own calls report
// their changes before they return.
class SelectListPrivate {
public:
    explicit SelectListPrivate(SelectList* owner) : q(owner) {}

    class Batch {
    public:
        explicit Batch(SelectListPrivate* d) : d(d) { ++d->depth; }
        ~Batch()
        {
            if (--d->depth == 0)
                d->Flush();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        SelectListPrivate* d;
    };

    void Touch()
    {
        if (muted)
            return;
        dirty = true;
        // A change outside any batch (someone working on the view directly)
        // is reported at once.
        if (depth == 0)
            Flush();
    }

    RowState Actual(int row) const
    {
        const QModelIndex index = q->model->index(row, 0);
        const QItemSelectionModel* selection = q->view->selectionModel();
        RowState state;
        state.tick = index.data(TickRole).toInt();
        state.selected = selection->isSelected(index);
        state.focused = selection->currentIndex().isValid() && selection->currentIndex().row() == row;
        return state;
    }

    void Flush()
    {
        if (!dirty || muted)
            return;
        dirty = false;
        const quint64 flush = ++flushCount;
        const int count = q->model->rowCount();
        rows.resize(static_cast<size_t>(count));
        std::vector<int> losing;
        std::vector<int> others;
        for (int row = 0; row < count; ++row) {
            RowState now = Actual(row);
            RowState& was = rows[static_cast<size_t>(row)];
            if (now.SameAs(was))
                continue;
            if (now.selected && !was.selected)
                selectionMark = row;
            const bool lost = (was.selected && !now.selected) || (was.focused && !now.focused);
            (lost ? losing : others).push_back(row);
            now.reportedBy = flush;
            was = now;
        }
        losing.insert(losing.end(), others.begin(), others.end());
        for (const int row : losing) {
            // A handler may have changed the rows again; a row whose newer
            // change was already reported by a nested flush is not repeated.
            if (static_cast<size_t>(row) < rows.size() && rows[static_cast<size_t>(row)].reportedBy == flush)
                emit q->itemChanged(row);
        }
    }

    void RowsInserted(int first, int last)
    {
        if (muted)
            return;
        std::vector<RowState> added;
        for (int row = first; row <= last; ++row)
            added.push_back(Actual(row));
        const auto at = rows.begin() + std::min<std::ptrdiff_t>(first, static_cast<std::ptrdiff_t>(rows.size()));
        rows.insert(at, added.begin(), added.end());
        if (selectionMark >= first)
            selectionMark += last - first + 1;
    }

    void RowsRemoved(int first, int last)
    {
        if (muted)
            return;
        const auto size = static_cast<std::ptrdiff_t>(rows.size());
        rows.erase(rows.begin() + std::min<std::ptrdiff_t>(first, size),
                   rows.begin() + std::min<std::ptrdiff_t>(last + 1, size));
        if (selectionMark > last)
            selectionMark -= last - first + 1;
        else if (selectionMark >= first)
            selectionMark = -1;
        Touch();
    }

    RowParts PartsOf(int row) const
    {
        const QRect cell = q->view->visualRect(q->model->index(row, 0));
        const bool fullRow = UsesFullRow();
        const int rowRight = fullRow ? q->RowRect(row).right() : cell.right();
        return LayOutRow(cell, rowRight, q->GetItemText(row, 0), q->view->fontMetrics(), hasStateIcons, fullRow);
    }

    bool IsReport() const { return q->mode == SelectList::Mode::Report; }
    bool UsesFullRow() const { return fullRowSelect && IsReport(); }

    // The view's event() and viewportEvent() overrides lead here.
    template <class BaseHandler>
    bool ViewEvent(QEvent* event, BaseHandler&& base)
    {
        // Before the view's own navigation sees the key.
        if (event->type() == QEvent::KeyPress)
            emit q->keyDown(static_cast<QKeyEvent*>(event)->key());
        Batch batch(this);
        return base(event);
    }

    template <class BaseHandler>
    bool ViewportEvent(QEvent* event, BaseHandler&& base)
    {
        if (event->type() == QEvent::ToolTip) {
            ShowInfoTip(static_cast<QHelpEvent*>(event));
            return true;
        }
        bool result;
        {
            Batch batch(this);
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

    // What a button did since it went down: a release reports a click only
    // after a plain press, not after the press that made a double click.
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
        const bool click = press == Press::Single;
        press = Press::None;
        if (!click)
            return;
        if (left)
            emit q->clicked(row, point);
        else
            emit q->rightClicked(row, point);
    }

    void ShowInfoTip(QHelpEvent* help)
    {
        const QModelIndex index = q->view->indexAt(help->pos());
        if (!index.isValid()) {
            QToolTip::hideText();
            help->ignore();
            return;
        }
        QString text;
        emit q->infoTipRequested(index.row(), &text, q->infoTipCapacity);
        // Like a text buffer of that many characters with its terminating zero.
        if (text.isEmpty() || text.size() >= q->infoTipCapacity) {
            QToolTip::hideText();
            return;
        }
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (Qt::mightBeRichText(text))
            text = Qt::convertFromPlainText(text, Qt::WhiteSpacePre);
        QToolTip::showText(help->globalPos(), text, q->view->viewport(), q->RowRect(index.row()));
    }

    SelectList* q;
    std::vector<RowState> rows; // as last reported
    int depth = 0;
    bool dirty = false;
    bool muted = false;
    quint64 flushCount = 0;
    int selectionMark = -1;
    Press leftPress = Press::None;
    Press rightPress = Press::None;

    QIcon stateIcons[2];
    bool hasStateIcons = false;
    bool fullRowSelect = false;
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

// Draws a row the way LayOutRow places it: the state image, then the label,
// highlighted when selected (only the label, or the whole row with full-row
// select).
class RowDelegate final : public QStyledItemDelegate {
public:
    RowDelegate(const SelectListPrivate* d, QObject* parent) : QStyledItemDelegate(parent), d(d) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        const bool fullRow = d->UsesFullRow();
        QRect highlight;
        QRect textRect;
        painter->save();
        painter->setClipRect(option.rect);
        if (index.column() == 0) {
            const RowParts parts = LayOutRow(option.rect, option.rect.right(), text, option.fontMetrics,
                                             d->hasStateIcons, fullRow);
            const int tick = index.data(TickRole).toInt();
            if (d->hasStateIcons && (tick == 1 || tick == 2))
                d->stateIcons[tick - 1].paint(painter, parts.icon);
            highlight = parts.label;
            textRect = parts.text;
        } else {
            if (fullRow)
                highlight = option.rect;
            textRect = option.rect.adjusted(TextPadding + 4, 0, -TextPadding, 0);
        }

        const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                                   : QPalette::Inactive;
        const bool selected = (option.state & QStyle::State_Selected) && !highlight.isEmpty();
        if (selected)
            painter->fillRect(highlight, option.palette.brush(group, QPalette::Highlight));
        painter->setFont(option.font);
        painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));

        if ((option.state & QStyle::State_HasFocus) && !highlight.isEmpty()) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect = highlight;
            focus.state |= QStyle::State_KeyboardFocusChange;
            focus.backgroundColor = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
            const QWidget* widget = option.widget;
            QStyle* style = widget ? widget->style() : nullptr;
            if (style)
                style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int iconWidth = index.column() == 0 && d->hasStateIcons ? LabelOffset : 0;
        // Report columns have fixed widths: only the height matters there, and
        // measuring every text on each relayout would cost more than the rest.
        if (d->IsReport())
            return {iconWidth + 2 * TextPadding, RowHeight};
        const QString text = index.data(Qt::DisplayRole).toString();
        return {iconWidth + option.fontMetrics.horizontalAdvance(text) + 2 * TextPadding, RowHeight};
    }

private:
    const SelectListPrivate* d;
};

void DetachView(QAbstractItemView* view, SelectList::Mode mode)
{
    if (mode == SelectList::Mode::List)
        static_cast<TrackedListView*>(view)->Detach();
    else
        static_cast<TrackedTreeView*>(view)->Detach();
}

} // namespace

FixedHeader::FixedHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsMovable(false);
    setSectionsClickable(false);
    setStretchLastSection(false);
    setCascadingSectionResizes(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void FixedHeader::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click on a divider would fit the column to its contents.
    event->accept();
}

bool FixedHeader::viewportEvent(QEvent* event)
{
    const bool result = QHeaderView::viewportEvent(event);
    // The pointer keeps the arrow shape over the dividers.
    if (testAttribute(Qt::WA_SetCursor))
        unsetCursor();
    if (viewport()->testAttribute(Qt::WA_SetCursor))
        viewport()->unsetCursor();
    return result;
}

SelectList::SelectList(int id, Mode mode, QWidget* parent)
    : QWidget(parent), d(std::make_unique<SelectListPrivate>(this)), controlId(id), mode(mode)
{
    model = new RowModel(this);

    if (mode == Mode::List) {
        auto* list = new TrackedListView(d.get(), this);
        list->setViewMode(QListView::ListMode);
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
        tree->setAllColumnsShowFocus(true);
        tree->setSortingEnabled(false);
        tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        tree->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        view = tree;
    }
    view->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(mode == Mode::List ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setDragEnabled(false);
    view->setItemDelegate(new RowDelegate(d.get(), view));
    view->setModel(model);
    if (header != nullptr) {
        // Settings the tree may have touched while adopting the header.
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setStretchLastSection(false);
        header->setSectionsMovable(false);
        header->setSectionsClickable(false);
    }

    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (roles.isEmpty() || roles.contains(TickRole))
                    d->Touch();
            });
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { d->RowsInserted(first, last); });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { d->RowsRemoved(first, last); });
    connect(model, &QAbstractItemModel::modelReset, this, [this] { d->Touch(); });
    connect(model, &QAbstractItemModel::layoutChanged, this, [this] { d->Touch(); });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { d->Touch(); });
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { d->Touch(); });

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
    d->muted = true;
    model->disconnect(this);
    DetachView(view, mode);
    delete view;
    view = nullptr;
    header = nullptr;
}

void SelectList::InsertColumn(int column, const QString& heading, int width)
{
    SelectListPrivate::Batch batch(d.get());
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
    d->fullRowSelect = on;
    view->viewport()->update();
}

void SelectList::SetStateIcons(const QIcon& unticked, const QIcon& ticked)
{
    d->stateIcons[0] = unticked;
    d->stateIcons[1] = ticked;
    d->hasStateIcons = true;
    view->viewport()->update();
}

int SelectList::InsertRow(int row, const QString& text)
{
    if (row < 0)
        return -1;
    SelectListPrivate::Batch batch(d.get());
    row = std::min(row, model->rowCount());
    model->InsertRow(row, text);
    return row;
}

void SelectList::AppendRows(const QList<QStringList>& rowTexts)
{
    SelectListPrivate::Batch batch(d.get());
    model->AppendRows(rowTexts);
}

void SelectList::SetItemText(int row, int column, const QString& text)
{
    if (row < 0 || row >= model->rowCount() || column < 0 || column >= model->columnCount())
        return;
    SelectListPrivate::Batch batch(d.get());
    model->SetText(row, column, text);
}

QString SelectList::GetItemText(int row, int column) const
{
    return model->Text(row, column);
}

void SelectList::DeleteAllRows()
{
    SelectListPrivate::Batch batch(d.get());
    // Removing rows moves the current index and the selection; none of that
    // is reported: the rows are gone.
    d->muted = true;
    model->RemoveAllRows();
    d->muted = false;
    d->rows.clear();
    d->dirty = false;
    d->selectionMark = -1;
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
    SelectListPrivate::Batch batch(d.get());
    model->SetStateImage(row, ticked ? 2 : 1);
}

bool SelectList::SelectAndFocus(int row)
{
    if (row < 0 || row >= model->rowCount())
        return false;
    SelectListPrivate::Batch batch(d.get());
    d->selectionMark = row;
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
    return d->selectionMark;
}

void SelectList::SetSelectionMark(int row)
{
    d->selectionMark = row;
}

void SelectList::EnsureVisible(int row)
{
    if (row < 0 || row >= model->rowCount())
        return;
    SelectListPrivate::Batch batch(d.get());
    view->scrollTo(model->index(row, 0), QAbstractItemView::EnsureVisible);
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

QWidget* SelectList::Viewport() const
{
    return view->viewport();
}
