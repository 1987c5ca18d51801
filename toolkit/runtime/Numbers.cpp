// strtod and floor, for the splitter's size field. strtod reads plain decimal
// numbers (sign, digits, fraction, exponent); up to 19 significant digits
// and a power of ten within 1e22 the result is correctly rounded, beyond that
// close to it.
extern "C" {

double __mingw_strtod(const char* s, char** end) {
  const char* p = s;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  unsigned long long digits = 0;
  int scale = 0;
  bool any = false;
  for (; *p >= '0' && *p <= '9'; ++p, any = true) {
    if (digits < 1000000000000000000ULL) digits = digits * 10 + (*p - '0');
    else ++scale;
  }
  if (*p == '.') {
    for (++p; *p >= '0' && *p <= '9'; ++p, any = true) {
      if (digits < 1000000000000000000ULL) digits = digits * 10 + (*p - '0'), --scale;
    }
  }
  if (!any) {
    if (end) *end = const_cast<char*>(s);
    return 0;
  }
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    bool down = *q == '-';
    if (*q == '+' || *q == '-') ++q;
    if (*q >= '0' && *q <= '9') {
      int e = 0;
      for (; *q >= '0' && *q <= '9'; ++q)
        if (e < 10000) e = e * 10 + (*q - '0');
      scale += down ? -e : e;
      p = q;
    }
  }
  if (end) *end = const_cast<char*>(p);
  double r = double(digits);
  // Powers of ten up to 1e22 are exact, so one step rounds once.
  for (int left = scale < 0 ? -scale : scale; left > 0 && r != 0;) {
    int step = left > 22 ? 22 : left;
    double power = 1;
    for (int i = 0; i < step; ++i) power *= 10;
    r = scale < 0 ? r / power : r * power;
    left -= step;
  }
  return negative ? -r : r;
}

double strtod(const char* s, char** end) { return __mingw_strtod(s, end); }

double floor(double x) {
  if (!(x > -4503599627370496.0 && x < 4503599627370496.0)) return x;
  double r = double(static_cast<long long>(x));
  return r > x ? r - 1 : r;
}

}  // extern "C"
