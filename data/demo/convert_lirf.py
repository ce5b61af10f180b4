#!/usr/bin/env python3
"""Converts the LIRF daily weather file (pyfao56 .wth layout) into JVU (new) import lines.

usage: convert_lirf.py LIRF.wth > greeley-2022.txt

Each measured day becomes one line of 15 comma-separated fields:
station id (5 characters), date, mean temperature (unused by the import), maximum temperature,
a time, minimum temperature, a time, an unused number, maximum and minimum relative humidity as
fractions (each followed by a time), solar radiation in MJ/m2/day, wind run in km/day (the daily
mean wind speed in m/s x 86.4) and rain in mm. The times are not in the source and not read by the
import; they are written as 00:00:00.
"""
import sys

STATION = "LIRF1"
NO_TIME = "00:00:00"


def convert(lines):
    in_data = False
    for line in lines:
        fields = line.split()
        if fields[:1] == ["Year-DOY"]:
            in_data = True
            continue
        if not in_data or len(fields) != 12 or fields[11] != "M":
            continue
        year, doy = (int(v) for v in fields[0].split("-"))
        srad, tmax, tmin = (float(v) for v in fields[1:4])
        rhmax, rhmin, wind, rain = (float(v) for v in fields[6:10])
        month, day = month_day(year, doy)
        yield ",".join([
            STATION,
            f"{year:04d}-{month:02d}-{day:02d}",
            f"{(tmax + tmin) / 2:.2f}",
            f"{tmax:.2f}", NO_TIME,
            f"{tmin:.2f}", NO_TIME,
            "0.0",
            f"{rhmax / 100:.4f}", NO_TIME,
            f"{rhmin / 100:.4f}", NO_TIME,
            f"{srad:.2f}",
            f"{wind * 86.4:.2f}",
            f"{rain:.2f}",
        ])


def month_day(year, doy):
    lengths = [31, 29 if year % 4 == 0 and (year % 100 != 0 or year % 400 == 0) else 28,
               31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
    month = 1
    for length in lengths:
        if doy <= length:
            return month, doy
        doy -= length
        month += 1
    raise ValueError("day of year past the year's end")


if __name__ == "__main__":
    with open(sys.argv[1], encoding="ascii") as source:
        for out in convert(source):
            print(out)
