// With names_fixture_b.cpp: one type and one helper named twice at namespace
// scope (check_names.sh must name both), and a type each keeps in its
// anonymous namespace (it must name neither).
struct FixturePoint {
    int i = -1, j = -1;
};

int fixture_helper(int x) { return x + 1; }

namespace {
struct FixtureOwn {
    int a = 1;
};
}  // namespace

int fixture_a(FixturePoint p) { return p.i + FixtureOwn{}.a + fixture_helper(p.j); }
