// See names_fixture_a.cpp.
struct FixturePoint {
    int i = 0, j = 0;
};

double fixture_helper(double x) { return x / 2; }

namespace {
struct FixtureOwn {
    double b = 2;
};
}  // namespace

double fixture_b(FixturePoint p, double x) { return p.j + FixtureOwn{}.b + fixture_helper(x); }
