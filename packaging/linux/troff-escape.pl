#!/usr/bin/perl
# troff-escape.pl IN OUT: copies the manual page IN (UTF-8) to OUT with
# every character outside ASCII written as groff's escape \[uXXXX] (its
# Unicode code point in upper-case hexadecimal), so that the installed page
# is plain ASCII. After the .TH line, each such character gets a fallback
# (.fchar) of "?", which groff uses only where the output device has no
# glyph for it: man's ASCII output in the POSIX locale shows a ? for each
# Chinese character instead of dropping it with a warning, and UTF-8 output
# shows the character. A byte sequence that is not UTF-8 stops the copy.
use strict;
use warnings FATAL => 'all';

die "usage: troff-escape.pl IN OUT\n" unless @ARGV == 2;
my ($in, $out) = @ARGV;
open(my $source, '<:encoding(UTF-8)', $in) or die "troff-escape.pl: $in: $!\n";
my @lines = <$source>;
close($source);
my %seen;
for my $line (@lines) {
  $line =~ s/([^\x00-\x7F])/sprintf('\\[u%04X]', ord($1))/ge;
  $seen{hex($1)} = 1 while $line =~ /\\\[u([0-9A-F]{4,6})\]/g;  # escapes in the source too
}
my @fallbacks = map { sprintf(".fchar \\[u%04X] ?\n", $_) } sort { $a <=> $b } keys %seen;
open(my $page, '>:raw', $out) or die "troff-escape.pl: $out: $!\n";
my $placed = 0;
for my $line (@lines) {
  print $page $line or die "troff-escape.pl: $out: $!\n";
  if (!$placed && $line =~ /^\.TH\b/) {
    print $page @fallbacks or die "troff-escape.pl: $out: $!\n";
    $placed = 1;
  }
}
die "troff-escape.pl: $in: no .TH line\n" unless $placed;
close($page) or die "troff-escape.pl: $out: $!\n";
