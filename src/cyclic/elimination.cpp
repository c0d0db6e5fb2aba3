#include "cyclic/cyclic.hpp"
