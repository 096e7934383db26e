#include "PanelPartitions.h"

#include <sstream>
#include <vector>

namespace devsim {

namespace {

constexpr std::size_t kPartitions = 6;
constexpr std::size_t kRecordLength = 10;

} // namespace

std::optional<Reply> HandlePartitionWrite(const Command& command, std::map<std::string, std::string>& store)
{
    const std::string& name = command.name;
    if (name.size() != 2 || name[0] != 'p' || name[1] < '0' || name[1] > '5')
        return std::nullopt;
    if (!command.value || command.value->size() != kRecordLength)
        return Reply::err();
    std::istringstream items(store["p"]);
    std::vector<std::string> records;
    for (std::string item; items >> item;)
        records.push_back(item);
    if (records.size() != kPartitions)
        return Reply::err();
    records[static_cast<std::size_t>(name[1] - '0')] = *command.value;
    std::string answer;
    for (const std::string& record : records)
        answer += (answer.empty() ? "" : " ") + record;
    store["p"] = answer;
    return Reply::ok();
}

} // namespace devsim
