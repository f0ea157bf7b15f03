# The version texts live here and nowhere else: the program, its tests and the fuzz builds all
# generate their version.h from these.
set(NBR_SHORT_VERSION "2012d1")
set(NBR_BUILD_NUMBER 1)
set(NBR_LONG_VERSION "Numbrook Riza ${NBR_SHORT_VERSION}")
