// The file panel as a Qt table model: check boxes, the six columns, and the captions that carry the sort mark.
#pragma once

#include <QAbstractTableModel>
#include <functional>

namespace qm {

struct MainModel;

// A view of the panel's rows without a copy of them. The panel changes
// under it (commands, refreshes, runs); sync() tells the views.
class FilePanelItemModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 6;

    explicit FilePanelItemModel(MainModel& model, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // A check box toggled by the user.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Shows the panel as it is now: a new number of rows resets the views,
    // otherwise only what they draw is asked for again.
    void sync();

    // Called after a check box was toggled, so the status text follows.
    std::function<void()> onChecked;

private:
    MainModel& model_;
    int shownRows_ = 0;
};

} // namespace qm
