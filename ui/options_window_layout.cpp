// The options window's layout: its decorations and moves, the rows of each page in order, and its small widgets.
#include "ui/options_window_layout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <functional>

#include "ui/qt_text.h"

namespace qm {
namespace {

// clang-format off
const Decoration kDecorations[] = {
    {Opt::cbIsStyle, "labComments", "Do not remove if comment consists one of the tags:"},
    {Opt::cbScriptsInfo, "labScr", "Do not optimize:"},
    {Opt::cbMaxFCount, "labFileRestrInfo", "Files restriction during adding to files panel", false, true},
    {Opt::edMaxEmbCount, nullptr, nullptr, false, false, true},
    {Opt::radModifyOld, nullptr, nullptr, true},
    {Opt::edBackUpPath, nullptr, nullptr, false, false, false, nullptr, Chooser::Folder, "butChooseBackUpF",
     "Select folder"},
    {Opt::edOptimizedPath, nullptr, nullptr, false, false, false, "labSaveNewMod", Chooser::Folder,
     "butChooseModPath", "Select folder"},
    {Opt::cbShowConf, "labOutput", "Show:"},
    {Opt::edExtEditor, nullptr, nullptr, false, false, false, "labExtEditor", Chooser::Executable, "butExtEditor",
     "Select file"},
    {Opt::edLan, nullptr, nullptr, false, false, false, "labLan", Chooser::Language, "butLan", "Select file"},
};

// Where the window shows a row (with the rows under it) elsewhere than the
// table's order, which is the order the files store the options in.
struct Move {
    Opt row;
    Opt anchor;
    bool after;
};
const Move kMoves[] = {
    {Opt::cbDelScripts, Opt::cbCF, true},
    {Opt::cbMaxFCount, Opt::cbProcessEmbeded, false},
    {Opt::cbShowEnd, Opt::cbShowInfo, true},
};
// clang-format on

} // namespace

const Decoration* DecorationOf(Opt id)
{
    for (const Decoration& decoration : kDecorations)
        if (decoration.row == id) return &decoration;
    return nullptr;
}

int DecorationIndex(Opt id)
{
    for (std::size_t i = 0; i < std::size(kDecorations); ++i)
        if (kDecorations[i].row == id) return int(i);
    return -1;
}

const Decoration& DecorationAt(int index) { return kDecorations[index]; }

namespace {

bool Lists(const auto& ids, Opt id) { return std::find(std::begin(ids), std::end(ids), id) != std::end(ids); }

using Block = std::vector<Placed>;

} // namespace

std::vector<Placed> PageLayout(OptionPage page)
{
    std::vector<const OptionRow*> rows;
    for (const OptionRow& row : OptionTable())
        if (row.page == page) rows.push_back(&row);

    auto parentOf = [&](const OptionRow& row) -> const OptionRow* {
        const OptionRow* parent = nullptr;
        for (const OptionRow* candidate : rows)
            if (candidate->kind == OptionKind::Flag && Lists(candidate->click.enablesWhenOn, row.id))
                parent = candidate;
        return parent;
    };

    std::function<void(const OptionRow&, int, Block&)> append = [&](const OptionRow& row, int depth, Block& out) {
        const std::size_t at = out.size();
        out.push_back({&row, depth});
        for (const OptionRow* child : rows) {
            if (parentOf(*child) != &row) continue;
            if (child->kind == OptionKind::NumberText)
                out[at].beside = child;
            else
                append(*child, depth + 1, out);
        }
    };

    std::vector<Block> blocks;
    for (const OptionRow* row : rows) {
        if (parentOf(*row)) continue;
        blocks.emplace_back();
        append(*row, 0, blocks.back());
    }
    auto blockOf = [&](Opt id) {
        return std::find_if(blocks.begin(), blocks.end(), [id](const Block& b) { return b.front().row->id == id; });
    };
    for (const Move& move : kMoves) {
        auto moved = blockOf(move.row);
        if (moved == blocks.end() || blockOf(move.anchor) == blocks.end()) continue;
        Block block = std::move(*moved);
        blocks.erase(moved);
        auto anchor = blockOf(move.anchor);
        blocks.insert(move.after ? anchor + 1 : anchor, std::move(block));
    }

    std::vector<Placed> placed;
    for (Block& block : blocks)
        for (Placed& item : block) {
            const Decoration* decoration = DecorationOf(item.row->id);
            // The informational boxes stand indented under their heading.
            item.depth += (decoration && decoration->indent ? 1 : 0) + (item.row->neverEnabled ? 1 : 0);
            placed.push_back(item);
        }
    return placed;
}

QHBoxLayout* IndentedRow(int depth)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    if (depth > 0) row->addSpacing(depth * kIndent);
    return row;
}

QToolButton* IconButton(QWidget* parent, const char* name, const char* hint, const QIcon& icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(hint));
    button->setStatusTip(button->toolTip());
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setIconSize({18, 18});
    button->setFixedSize(28, 26);
    return button;
}

QToolButton* PageButton(QWidget* parent, const char* name, const char* caption, const QIcon& icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(caption));
    button->setIcon(icon);
    button->setIconSize({24, 24});
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setFixedSize(84, 56);
    return button;
}

QLabel* TitleBar(QWidget* parent, const char* title)
{
    auto* label = new QLabel(LabelCaption(title), parent);
    label->setObjectName(QStringLiteral("labTitle"));
    label->setStyleSheet(QStringLiteral("QLabel { background-color: #8c8c8c; color: white; font-weight: bold;"
                                        " padding: 3px 6px; }"));
    return label;
}

} // namespace qm
