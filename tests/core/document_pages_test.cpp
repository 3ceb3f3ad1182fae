#include <gtest/gtest.h>

#include "model/document.h"

using sorvel::Document;
using sorvel::DocumentLayout;
using sorvel::ScoreCell;

namespace {

const DocumentLayout kLayout{{44, 26, 1200, 140}, {44, 198, 1200, 140}, {44, 370, 1200, 140},
                             {0, 0, 60, 140}};

// A set-up window document holding `cells` notes, cell i having pitch i % 39.
std::unique_ptr<Document> scoreOf(int cells) {
    auto d = std::make_unique<Document>();
    d->windowControllerDidLoadNib(kLayout, "/nonexistent");
    d->musicData.clear();
    for (int i = 0; i < cells; ++i) d->musicData.push_back(ScoreCell{i % 39, 1 + i % 12});
    d->showPage(1);
    return d;
}

}  // namespace

TEST(DocumentSetUp, StartsOnCellOneWithBlankStavesAndDefaults) {
    Document d;
    d.windowControllerDidLoadNib(kLayout, "/nonexistent");
    EXPECT_EQ(d.A_Hz, "440");
    EXPECT_EQ(d.codeData, std::vector<std::string>(3, std::string(7, ' ')));
    EXPECT_EQ(d.cdText[2], std::string(7, ' '));
    EXPECT_EQ(d.entryCell(), (ScoreCell{0, 0}));  // the (17, 5) of the set-up is replaced
    for (const std::string* label : {&d.gosenRaw, &d.gosenCol, &d.gosenRawTo, &d.gosenColTo}) {
        EXPECT_EQ(*label, "1");
    }
    EXPECT_EQ(d.gosen2.musicData.size(), 41u);
    EXPECT_EQ(d.cmbTempo.text(), "120");
    EXPECT_EQ(d.cmbInKey.text(), "C");
    EXPECT_EQ(d.cmbBeat.text(), "4");
    EXPECT_TRUE(d.imgCombo.items.empty());  // a folder that cannot be listed
    EXPECT_EQ(d.pointerSize.width, 30);
    EXPECT_EQ(d.celPointer, (sorvel::Rect{44, 26, 30, 140}));
}

TEST(DocumentShowPage, LaysPagesOntoTheThreeStaves) {
    // 81 cells: three pages, the third holding one cell.
    auto d = scoreOf(81);
    EXPECT_EQ(d->allP, "3");
    d->showPage(2);
    EXPECT_EQ(d->startCell, 40);
    EXPECT_EQ(d->gosen1.musicData[0], d->musicData[40]);
    EXPECT_EQ(d->gosen1.musicData[39], d->musicData[79]);
    EXPECT_EQ(d->gosen2.musicData[0], d->musicData[80]);
    EXPECT_EQ(d->gosen2.musicData[1], (ScoreCell{}));
    EXPECT_EQ(d->gosen3.musicData, std::vector<ScoreCell>(41, ScoreCell{}));

    // Exactly 40 cells: one page, the lower staves cleared.
    auto one = scoreOf(40);
    EXPECT_EQ(one->allP, "1");
    EXPECT_EQ(one->gosen1.musicData[39], one->musicData[39]);
    EXPECT_EQ(one->gosen2.musicData[0], (ScoreCell{}));

    // Past the last page only the chord fields and the page count change.
    d->codeData = {"a", "b", "c", "d", "e"};
    const auto staffBefore = d->gosen1.musicData;
    d->showPage(4);
    EXPECT_EQ(d->cdText, (std::array<std::string, 3>{"d", "e", "     "}));
    EXPECT_EQ(d->startCell, 40);
    EXPECT_EQ(d->gosen1.musicData, staffBefore);

    d->musicData.clear();
    d->showPage(1);
    EXPECT_EQ(d->allP, "0");
}

TEST(DocumentSelection, PointerWrapsAtStaffEndsAndIgnoresWhatLeavesTheScore) {
    auto d = scoreOf(81);
    struct Case {
        std::int64_t column, row;
        std::int64_t expectRow, expectColumn;  // where the pointer ends up
    };
    const Case cases[] = {
        {41, 1, 2, 1},  // past the end of a staff: first cell of the next
        {0, 2, 1, 40},  // before the start: last cell of the previous
        {41, 3, 1, 40}, // off the third staff: ignored
        {0, 1, 1, 40},  // off the first staff: ignored
        {2, 3, 1, 40},  // cell 82 of 81: ignored
        {1, 3, 3, 1},   // cell 81 exists
    };
    for (const Case& c : cases) {
        d->selCell(c.column, c.row);
        EXPECT_EQ(d->selRow, c.expectRow) << c.column << "," << c.row;
        EXPECT_EQ(d->selCol, c.expectColumn) << c.column << "," << c.row;
    }
    d->selCell(5, 2);
    EXPECT_EQ(d->entryCell(), d->musicData[44]);
    EXPECT_EQ(d->gosenRaw, "2");
    EXPECT_EQ(d->gosenColTo, "5");
    EXPECT_EQ(d->celPointer.x, 44 + 4 * 30);
    EXPECT_EQ(d->celPointer.y, 198);
    EXPECT_EQ(d->gosen1.selRow, 0);
    EXPECT_EQ(d->gosen2.selRow, 1);
    EXPECT_EQ(d->gosen2.selCol, 5);
    EXPECT_EQ(d->gosen2.selColTo, 5);
}

TEST(DocumentSelection, SelectionEndHighlightsAcrossStaves) {
    auto d = scoreOf(120);
    struct Range {
        std::int64_t row, col, rowTo, colTo;
        std::array<std::array<std::int64_t, 3>, 3> marks;  // selRow, selCol, selColTo per staff
    };
    const Range ranges[] = {
        {1, 3, 1, 7, {{{1, 3, 7}, {0, 0, 0}, {0, 0, 0}}}},
        {1, 38, 2, 4, {{{1, 38, 40}, {1, 0, 4}, {0, 0, 0}}}},
        {1, 10, 3, 2, {{{1, 10, 40}, {1, 0, 40}, {1, 0, 2}}}},
        {2, 5, 3, 6, {{{0, 0, 0}, {1, 5, 40}, {1, 0, 6}}}},
        {3, 2, 3, 9, {{{0, 0, 0}, {0, 0, 0}, {1, 2, 9}}}},
    };
    for (const Range& r : ranges) {
        d->selCell(r.col, r.row);
        for (auto* s : {&d->gosen1, &d->gosen2, &d->gosen3}) s->selCol = s->selColTo = 0;
        d->selCellTo(r.colTo, r.rowTo);
        EXPECT_EQ(d->selRowTo, r.rowTo);
        EXPECT_EQ(d->selColTo, r.colTo);
        const sorvel::GosenView* staves[3] = {&d->gosen1, &d->gosen2, &d->gosen3};
        for (int i = 0; i < 3; ++i) {
            const auto& m = r.marks[static_cast<std::size_t>(i)];
            EXPECT_EQ(staves[i]->selRow, m[0]) << r.row << r.col << " staff " << i + 1;
            if (m[0]) {
                EXPECT_EQ(staves[i]->selCol, m[1]) << r.row << r.col << " staff " << i + 1;
                EXPECT_EQ(staves[i]->selColTo, m[2]) << r.row << r.col << " staff " << i + 1;
            }
        }
    }
    // An end before the start is taken but changes no highlight; off the staves is ignored.
    d->selCell(6, 2);
    d->selCellTo(2, 1);
    EXPECT_EQ(d->gosen1.selRow, 0);
    EXPECT_EQ(d->gosen2.selColTo, 6);
    d->selCellTo(41, 3);
    EXPECT_EQ(d->selRowTo, 1);
}

TEST(DocumentPages, PageDownAndUpMoveOneStaffAndKeepThePointerOnItsCell) {
    auto d = scoreOf(400);  // ten pages
    for (int i = 0; i < 4; ++i) d->btnPageDown();
    EXPECT_EQ(d->pGosen1, "5");
    EXPECT_EQ(d->pGosen3, "7");
    d->selCell(7, 1);
    const ScoreCell cell = d->entryCell();
    d->btnPageUp();  // pages 4..6: the pointer follows its cell down to row 2
    EXPECT_EQ(d->pGosen1, "4");
    EXPECT_EQ(d->selRow, 2);
    EXPECT_EQ(d->selCol, 7);
    EXPECT_EQ(d->entryCell(), cell);
    EXPECT_EQ(d->gosen1.musicData[0], d->musicData[120]);
    // Chord lines are stored page by page as the pages move.
    EXPECT_EQ(d->codeData.size(), 7u);

    // At the first page, page up moves the pointer instead.
    auto first = scoreOf(120);
    first->selCell(9, 2);
    first->btnPageUp();
    EXPECT_EQ(first->pGosen1, "1");
    EXPECT_EQ(first->selRow, 1);
    EXPECT_EQ(first->selCol, 9);
    first->btnPageUp();
    EXPECT_EQ(first->selCol, 1);

    // At the last page, page down keeps the page and moves to column 1.
    auto last = scoreOf(40);
    last->selCell(12, 1);
    last->btnPageDown();
    EXPECT_EQ(last->pGosen1, "1");
    EXPECT_EQ(last->selCol, 1);
}

TEST(DocumentChords, StoringTheFieldsReplacesOrAppendsByPage) {
    auto d = scoreOf(10);
    d->codeData = {"A", "B"};
    d->cdText = {"x", "y", "z"};
    d->storeChordFields();
    EXPECT_EQ(d->codeData, (std::vector<std::string>{"x", "y", "z"}));

    d->codeData = {"1", "2", "3"};
    d->pGosen1 = "4";
    d->cdText = {"p4", "p5", "p6"};
    d->storeChordFields();
    EXPECT_EQ(d->codeData, (std::vector<std::string>{"1", "2", "3", "p4", "p5", "p6"}));
}
