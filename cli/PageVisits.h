// The pages that a read all or write all shows, in the order it shows them: the device asks
// the window to show each page before its exchange, and this listens for that. Interface thread.
#pragma once

#include <vector>

#include "cli/FormSubscription.h"
#include "pages/fIn.h"

namespace nvx::cli {

class PageVisits {
public:
    explicit PageVisits(const std::vector<TformIncl*>& pages);
    PageVisits(const PageVisits&) = delete;
    PageVisits& operator=(const PageVisits&) = delete;

    const std::vector<TformIncl*>& Visited() const { return visited_; }

private:
    void Shown(TformIncl& page);

    std::vector<TformIncl*> visited_;
    std::vector<FormSubscription> subscriptions_; // last: they go before what they write to
};

} // namespace nvx::cli
