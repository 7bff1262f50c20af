// Test output without OutputDebugStringA. GoogleTest's own printer sends every failure to the
// debugger as well; on machines where Wine runs 32-bit code through qemu-user the structured
// exception behind that call kills the process, and the remaining results are lost. This printer
// writes the same information to stdout only. Linked into every test program of the win32 build.
#include <gtest/gtest.h>

#include <cstdio>

namespace {

class PlainPrinter : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& t) override {
        std::printf("[ RUN      ] %s.%s\n", t.test_suite_name(), t.name());
        std::fflush(stdout);
    }
    void OnTestPartResult(const ::testing::TestPartResult& r) override {
        if (r.type() == ::testing::TestPartResult::kSuccess) return;
        std::printf("%s:%d: %s\n%s\n", r.file_name() ? r.file_name() : "unknown", r.line_number(),
                    r.type() == ::testing::TestPartResult::kSkip ? "Skipped" : "Failure",
                    r.message());
        std::fflush(stdout);
    }
    void OnTestEnd(const ::testing::TestInfo& t) override {
        const bool ok = !t.result()->Failed();
        std::printf("[ %s ] %s.%s (%lld ms)\n", ok ? "     OK" : "FAILED ", t.test_suite_name(),
                    t.name(), static_cast<long long>(t.result()->elapsed_time()));
        std::fflush(stdout);
    }
    void OnTestProgramEnd(const ::testing::UnitTest& u) override {
        std::printf("[==========] %d tests ran. %d passed, %d failed.\n", u.test_to_run_count(),
                    u.successful_test_count(), u.failed_test_count());
        for (int i = 0; i < u.total_test_suite_count(); ++i) {
            const auto* s = u.GetTestSuite(i);
            for (int j = 0; j < s->total_test_count(); ++j) {
                const auto* t = s->GetTestInfo(j);
                if (t->should_run() && t->result()->Failed())
                    std::printf("[  FAILED  ] %s.%s\n", s->name(), t->name());
            }
        }
        std::fflush(stdout);
    }
};

struct Install {
    Install() {
        auto& listeners = ::testing::UnitTest::GetInstance()->listeners();
        delete listeners.Release(listeners.default_result_printer());
        listeners.Append(new PlainPrinter);
    }
} install;

}  // namespace
