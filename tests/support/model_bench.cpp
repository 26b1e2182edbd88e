// The test bench's helpers.
#include "tests/support/model_bench.h"

#include "batch/panel/panel_commands.h"
#include "batch/panel/panel_refresh.h"

namespace qm::test {

void Bench::add(std::initializer_list<std::string_view> relatives)
{
    for (std::string_view relative : relatives) AddFileToPanel(model, path(relative), false);
    RefreshPanel(model);
}

} // namespace qm::test
