#pragma once
// Makes the next load of the game fetch its files again: removes every entry of the client's URL cache
// whose URL contains `filter` (case-sensitive), and the browser engine's cached files of every domain
// that contains it, then calls `done` on the UI thread. An empty filter touches nothing; `done` is
// still called. The engine removes its data asynchronously, so `done` comes on a later turn of the loop.

#include <functional>
#include <string>

namespace platform {
class UrlCache;
}

void ClearUrlCache(const std::wstring& filter, std::function<void()> done = {});
// The same over `cache`, for tests.
void ClearUrlCache(platform::UrlCache& cache, const std::wstring& filter, std::function<void()> done);
