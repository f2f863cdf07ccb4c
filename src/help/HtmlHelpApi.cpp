#include "HtmlHelpApi.h"

namespace help {

namespace {

struct Binding {
    HtmlHelpLoader loader;
    std::unique_ptr<HtmlHelpRuntime> runtime;
};

Binding &binding()
{
    static Binding instance;
    return instance;
}

} // namespace

void SetHtmlHelpLoader(HtmlHelpLoader loader)
{
    binding().loader = std::move(loader);
}

bool IsHtmlHelpLoaded()
{
    return binding().runtime != nullptr;
}

bool LoadHtmlHelp()
{
    Binding &b = binding();
    if (!b.runtime && b.loader)
        b.runtime = b.loader();
    return b.runtime != nullptr;
}

void UnloadHtmlHelp()
{
    binding().runtime.reset();
}

bool HtmlHelpAvailable()
{
    return LoadHtmlHelp();
}

HtmlHelpRuntime *HtmlHelp()
{
    return binding().runtime.get();
}

} // namespace help
