// The program's entry: everything happens in the application object.
#include <string>
#include <vector>

#include "app/TesselApp.h"

int main(int argc, char** argv) {
    CTesselApp app;
    return app.Run(std::vector<std::string>(argv, argv + argc));
}
