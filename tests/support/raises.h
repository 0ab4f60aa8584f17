// Checks that a call raises the host RuntimeError with a given number.
#pragma once

#include <gtest/gtest.h>

#include <tavorin/host/error.h>

/// Fails unless `statement` throws a tavorin::host::RuntimeError numbered
/// `number`; any other outcome (no throw, another type) is reported.
#define EXPECT_RAISES(number, statement)                                                \
  do {                                                                                  \
    try {                                                                               \
      statement;                                                                        \
      ADD_FAILURE() << #statement " raised nothing, expected " << (number);             \
    } catch (const tavorin::host::RuntimeError& raised_error) {                         \
      EXPECT_EQ(raised_error.Number(), (number))                                        \
          << #statement " raised: " << raised_error.Description();                      \
    } catch (const std::exception& other_error) {                                       \
      ADD_FAILURE() << #statement " threw a non-runtime error: " << other_error.what(); \
    }                                                                                   \
  } while (false)
