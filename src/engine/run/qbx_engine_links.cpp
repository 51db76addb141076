// Band links of a report page: which data bands run on the page, their headers, footers, groups
// and detail bands, built from the bands' kinds and vertical order.
#include <algorithm>
#include <cstdio>
#include <string>

#include "engine/run/qbx_engine.h"
#include "engine/run/qbx_engine_data_source.h"
#include "report/model/qbx_report.h"

namespace zavrik {

namespace {

// The sort key of a band: its top (a vertical band's left) with two decimals, right-aligned in
// nine characters.
std::string PositionKey(const TqbxBand& band) {
  char text[64];
  std::snprintf(text, sizeof text, "%9.2f", band.Vertical() ? band.Left() : band.Top());
  return text;
}

bool HasDataSource(TqbxBand& band) {
  auto* data_band = dynamic_cast<TqbxDataBand*>(&band);
  return data_band && TqbxEngineDataSource(*data_band).Exists();
}

}  // namespace

void TqbxEngine::PrepareBands(TqbxReportPage& page, bool vertical) {
  page.AlignChildren(false, 0);
  TqbxBandLinks& page_links = Links(page);
  std::vector<TqbxDataBand*>& top_bands = vertical ? page_links.VSubBands : page_links.SubBands;
  top_bands.clear();

  std::vector<TqbxBand*> list;
  for (const auto& child : page.Objects()) {
    auto* band = dynamic_cast<TqbxBand*>(child.get());
    if (!band || band->Vertical() != vertical) continue;
    Links(*band) = TqbxBandLinks();
    // Shift structures are built when the band is first stretched.
    if (band->BandNumber() >= 4 && band->BandNumber() <= 13) list.push_back(band);
  }
  std::stable_sort(list.begin(), list.end(), [](const TqbxBand* a, const TqbxBand* b) {
    return PositionKey(*a) < PositionKey(*b);
  });
  // A band at the same position as one already taken is left out.
  list.erase(std::unique(list.begin(), list.end(),
                         [](const TqbxBand* a, const TqbxBand* b) {
                           return PositionKey(*a) == PositionKey(*b);
                         }),
             list.end());

  auto report_error = [&](const char16_t* text, const TqbxBand& band) {
    Report.Errors.Add(String(text) + u" " + band.Name());
  };

  // Groups: a chain of group headers belongs to the next data band; footers pair with the nearest
  // earlier unpaired header.
  std::vector<TqbxBand*> rest;
  std::vector<TqbxGroupHeader*> unpaired;
  for (size_t i = 0; i < list.size(); ++i) {
    if (auto* header = dynamic_cast<TqbxGroupHeader*>(list[i])) {
      TqbxBandLinks& header_links = Links(*header);
      size_t j = i;
      while (j < list.size() && dynamic_cast<TqbxGroupHeader*>(list[j])) {
        header_links.GroupChain.push_back(static_cast<TqbxGroupHeader*>(list[j]));
        unpaired.push_back(static_cast<TqbxGroupHeader*>(list[j]));
        ++j;
      }
      size_t k = j;
      while (k < list.size() && !list[k]->IsDataBand()) ++k;
      if (k < list.size())
        Links(*list[k]).Group = header;
      else
        report_error(u"Нет дата-бэнда для группы", *header);
      i = j - 1;
    } else if (dynamic_cast<TqbxGroupFooter*>(list[i])) {
      if (unpaired.empty()) {
        report_error(u"Нет заголовка группы", *list[i]);
        rest.push_back(list[i]);
      } else {
        Links(*unpaired.back()).Footer = list[i];
        unpaired.pop_back();
      }
    } else {
      rest.push_back(list[i]);
    }
  }
  list.swap(rest);
  rest.clear();

  // Headers and footers next to their data bands.
  std::vector<bool> taken(list.size(), false);
  for (size_t i = 0; i < list.size(); ++i) {
    if (!list[i]->IsDataBand()) continue;
    if (i > 0 && dynamic_cast<TqbxHeader*>(list[i - 1])) {
      Links(*list[i]).Header = list[i - 1];
      taken[i - 1] = true;
    }
    if (i + 1 < list.size() && dynamic_cast<TqbxFooter*>(list[i + 1])) {
      Links(*list[i]).Footer = list[i + 1];
      taken[i + 1] = true;
    }
  }
  for (size_t i = 0; i < list.size(); ++i) {
    if (taken[i]) continue;
    if (dynamic_cast<TqbxHeader*>(list[i]) || dynamic_cast<TqbxFooter*>(list[i])) {
      report_error(u"Не подключенный header/footer", *list[i]);
      taken[i] = true;
    }
  }
  for (size_t i = 0; i < list.size(); ++i)
    if (!taken[i] && !dynamic_cast<TqbxGroupFooter*>(list[i])) rest.push_back(list[i]);
  list.swap(rest);

  // Master and detail: a band one kind higher is a detail of the band before it.
  std::vector<bool> used(list.size(), false);
  // Reads the details of list[index] from `next` on; returns the position after them.
  auto read_details = [&](auto&& self, size_t index, size_t next) -> size_t {
    TqbxBand* master = list[index];
    while (next < list.size()) {
      if (used[next]) {
        ++next;
        continue;
      }
      const int difference = list[next]->BandNumber() - master->BandNumber();
      if (difference <= 0) break;
      if (difference >= 2) {  // passed over, stays in the list
        ++next;
        continue;
      }
      used[next] = true;
      TqbxBand* detail = list[next];
      if (HasDataSource(*detail))
        Links(*master).SubBands.push_back(static_cast<TqbxDataBand*>(detail));
      next = detail->BandNumber() < 11 ? self(self, next, next + 1) : next + 1;
    }
    return next;
  };
  for (size_t i = 0; i < list.size(); ++i) {
    if (used[i] || !dynamic_cast<TqbxMasterData*>(list[i])) continue;
    used[i] = true;
    if (HasDataSource(*list[i])) top_bands.push_back(static_cast<TqbxDataBand*>(list[i]));
    read_details(read_details, i, i + 1);
  }
  for (size_t i = 0; i < list.size(); ++i)
    if (!used[i]) report_error(u"Неправильно расположен бэнд:", *list[i]);
  if (!vertical) MoveCellsToVerticalBands(page);
}

void TqbxEngine::CheckDataSources() {
  TqbxReportComponent* report_data_set = Report.DataSet();
  for (const auto& child : Report.Objects()) {
    auto* page = dynamic_cast<TqbxReportPage*>(child.get());
    if (!page) continue;
    if (report_data_set && report_data_set == page->DataSet()) {
      Report.Errors.Add(u"Cannot use the same dataset for Report.DataSet and Page.DataSet");
      return;
    }
    for (TqbxDataBand* band : Links(*page).SubBands) {
      if (!band->DataSet()) continue;
      if (band->DataSet() == report_data_set) {
        Report.Errors.Add(u"Cannot use the same dataset for Report.DataSet and Band.DataSet");
        break;
      }
      if (band->DataSet() == page->DataSet()) {
        Report.Errors.Add(u"Cannot use the same dataset for Page.DataSet and Band.DataSet");
        break;
      }
    }
  }
}

}  // namespace zavrik
