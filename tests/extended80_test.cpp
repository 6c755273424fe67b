#include "aifc/extended80.h"

#include <gtest/gtest.h>
