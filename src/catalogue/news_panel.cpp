#include "catalogue/news_panel.h"

#include "run/text_catalogue.h"

namespace kv {

namespace {

constexpr std::size_t NewsLineCount = 6;
constexpr int MemoInset = 40;

// Which six catalogue lines the news panel shows: information or news, in
// the run's language.
std::size_t FirstNewsLine(bool informationLines, int language) {
    const std::size_t first = informationLines ? 12 : 0;
    return language == 1 ? first : first + 6;
}

}  // namespace

void ShowNewsPanel(const WizardState& state, CheckPage& page) {
    const std::size_t first = FirstNewsLine(state.SinuFlag, state.Language);
    const auto& lines = state.CatalogueLines;
    if (!lines[first].empty() || !lines[first + 1].empty()) {
        page.Memo1.lines.clear();
        for (std::size_t i = 0; i < NewsLineCount; ++i) page.Memo1.lines.push_back(lines[first + i].str());
        page.Panel3.visible = true;
        page.Panel3.width = page.clientWidth;
        page.Memo1.width = page.clientWidth - MemoInset;
    }
    if (!state.SinuFlag && !state.NoNewUpdate) page.Label15.caption = CatalogueText(state, 60);
}

void HideNewsPanel(CheckPage& page) {
    page.Panel3.visible = false;
    page.Panel3.width = 0;
}

}  // namespace kv
