#include "stability/stability.hpp"
