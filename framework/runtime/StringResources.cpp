#include "framework/runtime/StringResources.h"

#include <string_view>

namespace {

struct TStringResource {
    int Id;
    std::string_view Text;
};

// Numbered as the effect library numbers its texts.
constexpr TStringResource StringTable[] = {
    {16508, "Invalid owner (<>TForm) or second instance on a form"},
    {SUnknownUserName, "(Unknown)"},
};

} // namespace

std::string LoadStr(int id)
{
    for (const TStringResource& entry : StringTable)
        if (entry.Id == id)
            return std::string(entry.Text);
    return {};
}
