// The file panel as a Qt table model over the logic's rows.
#include "ui/file_panel_model.h"

#include "batch/model/main_model.h"
#include "ui/qt_text.h"

namespace qm {

FilePanelItemModel::FilePanelItemModel(MainModel& model, QObject* parent)
    : QAbstractTableModel(parent)
    , model_(model)
    , shownRows_(int(model.panel.size()))
{
    setObjectName(QStringLiteral("filesModel"));
}

int FilePanelItemModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shownRows_; }

int FilePanelItemModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant FilePanelItemModel::data(const QModelIndex& index, int role) const
{
    // The views may ask for a row that a command removed before sync() told them.
    if (!index.isValid() || std::size_t(index.row()) >= model_.panel.size()) return {};
    const PanelRow& row = model_.panel.row(std::size_t(index.row()));
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == 0) return ToQt(row.Filename);
        if (std::size_t(column - 1) < row.cells.size()) return ToQt(row.cells[std::size_t(column - 1)]);
        return {};
    case Qt::CheckStateRole:
        if (column == 0) return row.checked ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::ToolTipRole:
        if (column <= 1) return ToQt(row.fullPath());
        return {};
    case Qt::TextAlignmentRole:
        // Sizes and ratios line up on their last digit.
        if (column >= 3) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

bool FilePanelItemModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != 0 || std::size_t(index.row()) >= model_.panel.size())
        return false;
    model_.panel.setChecked(std::size_t(index.row()), value.toInt() == Qt::Checked);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    if (onChecked) onChecked();
    return true;
}

Qt::ItemFlags FilePanelItemModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant FilePanelItemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount) return {};
    return ToQt(model_.panel.sortMarks().columnCaptions[std::size_t(section)]);
}

void FilePanelItemModel::sync()
{
    const int rows = int(model_.panel.size());
    if (rows != shownRows_) {
        beginResetModel();
        shownRows_ = rows;
        endResetModel();
    } else if (rows > 0) {
        emit dataChanged(index(0, 0), index(rows - 1, kColumnCount - 1));
    }
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

} // namespace qm
