// The file panel as a Qt model: cells by the rows' cell counts, check boxes, captions with the sort mark, and views
// told of changes.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "batch/model/main_model.h"
#include "tests/ui/ui_test_support.h"
#include "ui/file_panel_model.h"

using namespace qm;

class FilePanelModelTest : public QObject {
    Q_OBJECT

private slots:
    void cellsByCellCount();
    void checkBoxes();
    void captionsCarryTheSortMark();
    void syncTellsTheViews();
};

namespace {

struct Panel {
    RealFileSystem fs;
    test::FakeUserInterface ui;
    MainWindowHooks hooks;
    MainModel model {fs, ui, hooks};
    FilePanelItemModel items {model};
};

} // namespace

void FilePanelModelTest::cellsByCellCount()
{
    struct Row {
        const char* name;
        std::vector<std::string> cells;
        QStringList shown; // the six columns
    };
    const Row rows[] = {
        {"just added", {"/site/"}, {"a.htm", "/site/", "", "", "", ""}},
        {"no optimized copy", {"/site/", "01.02.2026 10:00:00", "100", "-"},
            {"a.htm", "/site/", "01.02.2026 10:00:00", "100", "-", ""}},
        {"all fields", {"/site/", "01.02.2026", "100", "30", "70 %"},
            {"a.htm", "/site/", "01.02.2026", "100", "30", "70 %"}},
    };
    for (const Row& row : rows) {
        Panel panel;
        panel.model.panel.append("/site/a.htm");
        panel.model.panel.setCells(0, row.cells);
        panel.items.sync();
        QAbstractItemModelTester tester(&panel.items, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(panel.items.rowCount(), 1);
        QCOMPARE(panel.items.columnCount(), 6);
        QStringList shown;
        for (int column = 0; column < 6; ++column) shown << panel.items.index(0, column).data().toString();
        QVERIFY2(shown == row.shown, row.name);
        QCOMPARE(panel.items.index(0, 1).data(Qt::ToolTipRole).toString(), QStringLiteral("/site/a.htm"));
    }
}

void FilePanelModelTest::checkBoxes()
{
    Panel panel;
    panel.model.panel.append("/site/a.htm");
    panel.model.panel.append("/site/b.htm");
    panel.items.sync();
    int notified = 0;
    panel.items.onChecked = [&] { ++notified; };
    const QModelIndex first = panel.items.index(0, 0);
    QVERIFY(panel.items.flags(first) & Qt::ItemIsUserCheckable);
    QVERIFY(!(panel.items.flags(panel.items.index(0, 1)) & Qt::ItemIsUserCheckable));
    QCOMPARE(first.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(panel.items.setData(first, Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(first.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(panel.model.panel.CountCheckedRows(), 1u);
    QCOMPARE(notified, 1);
    QVERIFY(!panel.items.setData(panel.items.index(0, 2), Qt::Unchecked, Qt::CheckStateRole));
}

void FilePanelModelTest::captionsCarryTheSortMark()
{
    Panel panel;
    const QStringList design {"Filename", "Path", "Date", "Size  [bytes]", "Optimized  [bytes]", "Ratio"};
    for (int column = 0; column < 6; ++column)
        QCOMPARE(panel.items.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(), design[column]);
    panel.model.panel.sortByColumn(3);
    panel.items.sync();
    const QStringList marked {
        "Filename", "Path", "Date", QString::fromUtf8("\u2022  Filesize"), "Optimized filesize", "Optimization ratio"};
    for (int column = 0; column < 6; ++column)
        QCOMPARE(panel.items.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(), marked[column]);
}

void FilePanelModelTest::syncTellsTheViews()
{
    Panel panel;
    QAbstractItemModelTester tester(&panel.items, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy reset(&panel.items, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&panel.items, &QAbstractItemModel::dataChanged);
    panel.model.panel.append("/site/a.htm");
    // Until the views are told, they see the rows they knew, and a removed row reads as empty.
    QCOMPARE(panel.items.rowCount(), 0);
    panel.items.sync();
    QCOMPARE(reset.size(), 1);
    QCOMPARE(panel.items.rowCount(), 1);
    panel.model.panel.setChecked(0, false);
    panel.items.sync();
    QCOMPARE(reset.size(), 1);
    QCOMPARE(changed.size(), 1);
    panel.model.panel.clear();
    QCOMPARE(panel.items.index(0, 0).data().toString(), QString());
    panel.items.sync();
    QCOMPARE(panel.items.rowCount(), 0);
}

QTEST_MAIN(FilePanelModelTest)
#include "file_panel_model_test.moc"
