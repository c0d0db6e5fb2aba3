#include "driver/run.hpp"

int main(int argc, char** argv) {
    return ordimet::run(argc, argv);
}
