#include <gtest/gtest.h>

#include "builder/Samples.h"
#include "tracklog/TrackLogDocument.h"

TEST(WtrReader, Smoke) { SUCCEED(); }
