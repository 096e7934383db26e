#include "cli/PageVisits.h"

#include <algorithm>

namespace nvx::cli {

PageVisits::PageVisits(const std::vector<TformIncl*>& pages)
{
    subscriptions_.reserve(pages.size());
    for (TformIncl* page : pages)
        subscriptions_.emplace_back(page->Form(), [this, page](const std::string& controlName) {
            // The page's own form control turning visible is the page being shown.
            if (controlName == page->Form().name() && page->Form().visible(controlName))
                Shown(*page);
        });
}

void PageVisits::Shown(TformIncl& page)
{
    // The sequence ends by showing its first page again; that is no new visit.
    if (std::find(visited_.begin(), visited_.end(), &page) == visited_.end())
        visited_.push_back(&page);
}

} // namespace nvx::cli
