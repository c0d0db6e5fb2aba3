#include "consistency/consistency.hpp"
