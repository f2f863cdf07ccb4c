#pragma once

#include <memory>

namespace platform {

// A machine service that tests, or a program's start-up, replace for the
// whole process: Fallback serves until another one is installed, and
// installing nullptr brings it back. Each service is one instantiation.
template <class Service, class Fallback>
class InstalledService {
public:
    static Service &current()
    {
        Service *service = installed().get();
        return service ? *service : fallback();
    }

    static void install(std::unique_ptr<Service> service) { installed() = std::move(service); }

private:
    static std::unique_ptr<Service> &installed()
    {
        static std::unique_ptr<Service> service;
        return service;
    }

    static Fallback &fallback()
    {
        static Fallback service;
        return service;
    }
};

} // namespace platform
