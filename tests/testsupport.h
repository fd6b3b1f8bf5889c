// Helpers shared by the test suites.
#ifndef ARBOLIX_TESTS_TESTSUPPORT_H
#define ARBOLIX_TESTS_TESTSUPPORT_H

namespace testsupport {
} // namespace testsupport

#endif
