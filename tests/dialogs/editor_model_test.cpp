#include "dialogs/custom_view/editor_model.h"

#include <gtest/gtest.h>
