#include "driver/run.hpp"
#include "platform/output_signals.hpp"

int main(int argc, char** argv) {
    ordimet::platform::keep_running_when_output_fails();
    return ordimet::run(argc, argv);
}
