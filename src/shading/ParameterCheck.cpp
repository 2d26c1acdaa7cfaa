// Missing-parameter check shared by every owner of shading programs.
#include "shading/ParameterCheck.h"

#include <cstdio>
#include <cstdlib>

namespace korvath {

void requireParameters(std::initializer_list<CGparameter> parameters) {
    for (CGparameter parameter : parameters) {
        if (parameter == nullptr) {
            std::printf("Unable to retrieve program parameters, exiting...\n");
            std::fflush(stdout);
            std::exit(1);
        }
    }
}

} // namespace korvath
