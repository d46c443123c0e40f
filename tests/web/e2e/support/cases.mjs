// The presses the page and the native reference make alike: the entries
// typed before each press (the rest keep their initial texts), and what is
// looked at after it.
//   spectrum: "Visualizza spettro" pressed after the last press
//   readouts: points in layout pixels over a window's plot, after the last press
export const cases = [
  { name: 'AM with the initial entries', presses: [{ Combo1: 'AM' }], spectrum: true },
  { name: 'FM', presses: [{ Combo1: 'FM' }], spectrum: true },
  { name: 'PM with a smaller index and more samples', presses: [{ Combo1: 'PM', Text6: '2', Text13: '4096' }], spectrum: true },
  { name: 'M1, M2 and M3 in this order, then the run', presses: [{ Combo1: 'AM', Text1: '2.5', Text3: '30.5', Text7: '3.5' }] },
  { name: 'M1, then W rounds to 0 and M4 stops', presses: [{ Combo1: 'AM', Text1: '0.4' }] },
  { name: 'M5: fp above N/4W', presses: [{ Combo1: 'FM', Text3: '126' }] },
  { name: 'M6: the initial type text', presses: [{}] },
  { name: 'M6: a type in lower case', presses: [{ Combo1: 'am' }] },
  { name: 'a negative N stops at the sampling test', presses: [{ Combo1: 'AM', Text13: '-5' }] },
  {
    name: 'a negative N past the sampling test is refused after the waveform window appeared',
    presses: [{ Combo1: 'AM', Text1: '-2', Text13: '-1000' }],
  },
  { name: 'an N past 32 bits is refused', presses: [{ Combo1: 'AM', Text13: '1e10' }] },
  { name: 'a peak voltage past a double is refused', presses: [{ Combo1: 'PM', Text8: '1e400' }] },
  {
    name: 'an N too large for memory, refused, then a press that works',
    presses: [{ Combo1: 'FM', Text13: '2000000000' }, { Text13: '2000' }],
    spectrum: true,
    // What memory the machine has differs: only the words are compared.
    memory: true,
  },
];
