#pragma once
// The reader's steps in a reading's state, and their context-free forms.
#include "context_free.h"
#include "reading_steps.h"
